#pragma once

#include <QHashFunctions>

#include <cstddef>
#include <cstdint>
#include <variant>

namespace sw {

// Why planning a download started nothing.
class DownloadRefusal {
public:
    // The post has no attachments.
    struct NothingToDownload {
        friend bool operator==(const NothingToDownload &, const NothingToDownload &) = default;
    };
    // The post's media is already on this computer.
    struct AlreadyOnThisComputer {
        friend bool operator==(const AlreadyOnThisComputer &, const AlreadyOnThisComputer &) = default;
    };
    // A download of the post's media is under way.
    struct AlreadyDownloading {
        friend bool operator==(const AlreadyDownloading &, const AlreadyDownloading &) = default;
    };
    // The planned bytes do not fit: `needs` is the planned size, `free` the room left (never
    // below 0).
    struct OverBudget {
        std::int64_t needs = 0;
        std::int64_t free = 0;
        friend bool operator==(const OverBudget &, const OverBudget &) = default;
    };
    using Value = std::variant<NothingToDownload, AlreadyOnThisComputer, AlreadyDownloading, OverBudget>;

    DownloadRefusal(NothingToDownload v) : m_value(v) {}
    DownloadRefusal(AlreadyOnThisComputer v) : m_value(v) {}
    DownloadRefusal(AlreadyDownloading v) : m_value(v) {}
    DownloadRefusal(OverBudget v) : m_value(v) {}
    static DownloadRefusal nothingToDownload() { return NothingToDownload{}; }
    static DownloadRefusal alreadyOnThisComputer() { return AlreadyOnThisComputer{}; }
    static DownloadRefusal alreadyDownloading() { return AlreadyDownloading{}; }
    static DownloadRefusal overBudget(std::int64_t needs, std::int64_t free) { return OverBudget{needs, free}; }

    const Value &value() const { return m_value; }
    const OverBudget *asOverBudget() const { return std::get_if<OverBudget>(&m_value); }

    friend bool operator==(const DownloadRefusal &, const DownloadRefusal &) = default;

private:
    Value m_value;
};
std::size_t qHash(const DownloadRefusal &refusal, std::size_t seed = 0) noexcept;

}  // namespace sw
