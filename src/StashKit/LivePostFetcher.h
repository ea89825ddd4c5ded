#pragma once

// The post fetcher over the network: X statuses from the FxTwitter API (with a HEAD request for
// each media file's real size, one after another), any other address by reading its page.

#include "Capture/Date.h"
#include "StashKit/PostFetching.h"
#include "Capture/Url.h"

#include <QPointer>

#include <chrono>
#include <functional>

namespace sw {

class Network;

class LivePostFetcher final : public PostFetching {
public:
    using Clock = std::function<Date()>;

    // A page body larger than this is refused as unreadable, and an API reply larger than this
    // is not a status document; either is abandoned as soon as it grows past the limit.
    static constexpr qint64 kBodyLimit = 32 * 1024 * 1024;
    static constexpr std::chrono::milliseconds kDefaultProbeTimeout{60'000};

    // Every request goes through the network's current session. The API's address is the public
    // FxTwitter API unless given (tests point it at a local server). The clock dates web posts.
    explicit LivePostFetcher(Network &network, Url apiBase = defaultApiBase(), Clock clock = &Date::now);

    QCoro::Task<std::expected<Post, FetchError>> fetch(PostLink link) override;

    // How long a size probe may stall before it is given up (the estimate stays).
    void setProbeTimeout(std::chrono::milliseconds timeout) { m_config.probeTimeout = timeout; }

    static Url defaultApiBase();

    // The settings a fetch runs with, copied at its start so that it never reaches back into
    // the fetcher once it has suspended.
    struct Config {
        QPointer<Network> network;
        Url apiBase;
        Clock clock;
        std::chrono::milliseconds probeTimeout = kDefaultProbeTimeout;
    };

private:
    Config m_config;
};

}  // namespace sw
