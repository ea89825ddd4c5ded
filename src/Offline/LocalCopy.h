#pragma once

#include "Offline/DownloadFailure.h"
#include "Capture/Json.h"
#include "Offline/LocalFile.h"

#include <QHashFunctions>
#include <QList>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

namespace sw {

// What of one post's media is on this computer.
class LocalCopy {
public:
    // Nothing.
    struct LinkOnly {
        friend bool operator==(const LinkOnly &, const LinkOnly &) = default;
    };
    // A download under way: bytes received so far of the total reserved against the budget.
    struct Downloading {
        std::int64_t received = 0;
        std::int64_t of = 0;
        friend bool operator==(const Downloading &, const Downloading &) = default;
    };
    // The finished files, one per attachment, in attachment order.
    struct OnThisComputer {
        QList<LocalFile> files;   // implicitly shared: copying a copy is cheap
        friend bool operator==(const OnThisComputer &, const OnThisComputer &) = default;
    };
    // The last download failed.
    struct Failed {
        DownloadFailure failure;
        friend bool operator==(const Failed &, const Failed &) = default;
    };
    using Value = std::variant<LinkOnly, Downloading, OnThisComputer, Failed>;

    LocalCopy() = default;   // linkOnly
    LocalCopy(LinkOnly v) : m_value(v) {}
    LocalCopy(Downloading v) : m_value(v) {}
    LocalCopy(OnThisComputer v) : m_value(std::move(v)) {}
    LocalCopy(Failed v) : m_value(v) {}
    static LocalCopy linkOnly() { return LocalCopy(LinkOnly{}); }
    static LocalCopy downloading(std::int64_t received, std::int64_t of) { return LocalCopy(Downloading{received, of}); }
    static LocalCopy onThisComputer(QList<LocalFile> files) { return LocalCopy(OnThisComputer{std::move(files)}); }
    static LocalCopy failed(DownloadFailure failure) { return LocalCopy(Failed{failure}); }

    const Value &value() const { return m_value; }
    bool isLinkOnly() const { return std::holds_alternative<LinkOnly>(m_value); }
    const Downloading *asDownloading() const { return std::get_if<Downloading>(&m_value); }
    const OnThisComputer *asOnThisComputer() const { return std::get_if<OnThisComputer>(&m_value); }
    const Failed *asFailed() const { return std::get_if<Failed>(&m_value); }

    // For a download under way, received ÷ of (1.0 when the total is 0); none otherwise.
    // Not clamped: whoever draws it clamps it to 0...1.
    std::optional<double> fraction() const;
    // For finished files the sum of their sizes (saturating); 0 otherwise.
    std::int64_t bytesOnDisk() const;
    // The exact sum of the finished files' sizes, for sums over many copies.
    __int128 exactBytesOnDisk() const;

    friend bool operator==(const LocalCopy &, const LocalCopy &) = default;

    // The name the archive gives the OnThisComputer case. Documents on users' disks already carry
    // it, so it stays as it was first written whatever the case is called here.
    static constexpr std::string_view onThisComputerKey = "onThisMac";

    // {"linkOnly":{}}, {"downloading":{"of":t,"received":r}}, {<onThisComputerKey>:{"_0":[files]}},
    // {"failed":{"_0":failure}}
    JsonValue toJson() const;
    void writeJson(std::string &out) const;
    static LocalCopy fromJson(const JsonNode &node);

private:
    Value m_value;
};
std::size_t qHash(const LocalCopy &copy, std::size_t seed = 0) noexcept;

// The position of a case in LocalCopy::Value, for walks over many copies that compare
// `value().index()` rather than visit each one.
template <typename Case, std::size_t I = 0>
constexpr std::size_t localCopyCaseIndex()
{
    if constexpr (std::is_same_v<std::variant_alternative_t<I, LocalCopy::Value>, Case>)
        return I;
    else
        return localCopyCaseIndex<Case, I + 1>();
}

}  // namespace sw

template <> struct std::hash<sw::LocalCopy> {
    std::size_t operator()(const sw::LocalCopy &v) const noexcept { return sw::qHash(v, 0); }
};
