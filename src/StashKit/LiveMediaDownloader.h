#pragma once

// The media downloader over the network: each file is fetched through a network manager of its
// own, made for the route that is current when the download starts (a route changed later
// applies from the next download on), and streamed to disk as it arrives.

#include "StashKit/MediaDownloading.h"

#include <QPointer>

#include <chrono>
#include <cstdint>
#include <optional>

namespace sw {

class Network;

// Decides which running totals of bytes written are worth reporting: a total is said only once
// it is at least kStep past the total said last, so a file smaller than kStep reports no
// progress at all.
class ProgressThrottle {
public:
    static constexpr std::int64_t kStep = 262144;   // 256 KiB

    // The total to report after `total` bytes in all have been written, or none.
    std::optional<std::int64_t> written(std::int64_t total);
    std::int64_t lastSaid() const { return m_lastSaid; }

private:
    std::int64_t m_lastSaid = 0;
};

class LiveMediaDownloader final : public MediaDownloading {
public:
    // The slowest a download may be: fewer than `bytes` over any `window` fails it. A server that
    // sends a byte now and then defeats the network's stall time-out, which every byte resets.
    struct LeastRate {
        std::int64_t bytes = 30 * 1024;
        std::chrono::milliseconds window{30'000};
    };

    // The network is read at each download for its route and transfer time-out.
    explicit LiveMediaDownloader(Network &network);

    LeastRate leastRate() const { return m_leastRate; }
    // Applies from the next download on.
    void setLeastRate(LeastRate rate) { m_leastRate = rate; }

    // Only http and https addresses are fetched; any other fails at once with notHttp. The file
    // is written into a temporary file beside the destination (the destination's folder is
    // created first, parents included) and renamed over the destination when complete, replacing
    // a file already there. A status outside 200...299 fails with badServerResponse as soon as
    // the answer's head arrives; a file that cannot be written fails with couldNotWrite; a
    // network failure (30 seconds without data, or less than the least rate, included) fails with
    // network; a file announced or grown past `most` fails with tooLarge. Every failure removes
    // the temporary file.
    TransferStream download(const Attachment &attachment, const Url &destination, std::int64_t most) override;

private:
    QPointer<Network> m_network;
    LeastRate m_leastRate;
};

}  // namespace sw
