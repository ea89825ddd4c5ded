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
    // The longest a whole look-up may take: a server that drips its answer a byte at a time keeps
    // a connection busy for ever, so a look-up not answered in full by then fails as unreachable.
    static constexpr std::chrono::milliseconds kDefaultDeadline{30'000};

    // Reads a page's text into a post; runs on a worker thread, never on the main one.
    using PageReading = std::function<Post(const QString &page, const PostLink &link, Date fetchedAt)>;

    // Every request goes through the network's current session. The API's address is the public
    // FxTwitter API unless given (tests point it at a local server). The clock dates web posts.
    explicit LivePostFetcher(Network &network, Url apiBase = defaultApiBase(), Clock clock = &Date::now);

    QCoro::Task<std::expected<Post, FetchError>> fetch(PostLink link) override;

    // How long a size probe may take before it is given up (the estimate stays). Probes end
    // with the look-up's deadline too: those it leaves no time for are not made.
    void setProbeTimeout(std::chrono::milliseconds timeout) { m_config.probeTimeout = timeout; }
    // How long a whole look-up may take, from its start to its last probe.
    void setDeadline(std::chrono::milliseconds deadline) { m_config.deadline = deadline; }
    // The reading of a page (PageReader::post unless given).
    void setPageReading(PageReading reading) { m_config.pageReading = std::move(reading); }

    static Url defaultApiBase();

    // The settings a fetch runs with, copied at its start so that it never reaches back into
    // the fetcher once it has suspended.
    struct Config {
        QPointer<Network> network;
        Url apiBase;
        Clock clock;
        std::chrono::milliseconds probeTimeout = kDefaultProbeTimeout;
        std::chrono::milliseconds deadline = kDefaultDeadline;
        PageReading pageReading;
    };

private:
    Config m_config;
};

}  // namespace sw
