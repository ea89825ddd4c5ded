#pragma once

// The identity of a post: one status on X, or any other web address. Two X links are the same
// post when their status numbers are equal, whatever the handles.

#include "Capture/Json.h"
#include "Capture/Url.h"

#include <QHashFunctions>
#include <QSet>
#include <QString>

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <expected>
#include <functional>
#include <optional>
#include <string>
#include <variant>

namespace sw {

// An account name on X, as it was written (case kept). Equal without regard to case.
struct Handle {
    QString name;

    // A handle from typed text: one leading "@" is removed; nothing else changes.
    static Handle fromText(const QString &text);

    QString lowercased() const;
    // A number that equal handles share (letter case aside) and unequal handles never do, for the
    // life of the process: grouping and matching authors compare numbers instead of texts.
    std::uint32_t identity() const;
    friend bool operator==(const Handle &a, const Handle &b);

    JsonValue toJson() const;
    static Handle fromJson(const JsonNode &node);   // the stored text, unchanged
};
std::size_t qHash(const Handle &handle, std::size_t seed = 0) noexcept;

// A status number as decimal text: never converted to a number (no length limit, leading zeros
// stay).
struct StatusID {
    QString digits;

    // None unless the text is non-empty and all ASCII digits "0"..."9".
    static std::optional<StatusID> fromText(const QString &text);

    friend bool operator==(const StatusID &a, const StatusID &b);

    JsonValue toJson() const;
    static StatusID fromJson(const JsonNode &node);   // the stored text, unchanged
};
std::size_t qHash(const StatusID &status, std::size_t seed = 0) noexcept;

// Where a link leads.
class Source {
public:
    enum Value : unsigned char { x, web };
    constexpr Source(Value v = x) : m_value(v) {}
    constexpr operator Value() const { return m_value; }
    static constexpr std::array<Source, 2> allCases() { return {x, web}; }

    JsonValue toJson() const;                  // {"x":{}} or {"web":{}}
    static Source fromJson(const JsonNode &node);

private:
    Value m_value;
};

// Why a text is not a link the system keeps.
enum class LinkRefusal {
    notALink,   // not a web address the system accepts
    notAPost,   // on the service's own hosts, but not a status
};

// A 64-bit key of a link, the same for equal links. For the usual X link, whose status is 1 to
// 19 ASCII digits without a leading zero, it is the status number itself and exact: two links
// with exact keys are equal exactly when their keys are. Otherwise it is a hash under this
// process's own seed (never stored), and links with equal keys still have to be compared.
struct LinkKey {
    std::uint64_t value = 0;
    bool exact = false;
    friend bool operator==(const LinkKey &, const LinkKey &) = default;
};

// One word that a table keyed by links may keep with whatever holds a link (a save keeps one for
// its post's link), to find the link's entry again without looking it up. Read and written
// atomically, so that holders may be shared between threads; copying copies the word.
class LinkMemo {
public:
    LinkMemo() = default;
    LinkMemo(const LinkMemo &other) : m_word(other.load()) {}
    LinkMemo &operator=(const LinkMemo &other)
    {
        store(other.load());
        return *this;
    }
    std::uint64_t load() const { return m_word.load(std::memory_order_relaxed); }
    void store(std::uint64_t word) const { m_word.store(word, std::memory_order_relaxed); }

private:
    mutable std::atomic<std::uint64_t> m_word{0};
};

class PostLink {
public:
    struct X {
        Handle handle;
        StatusID status;
    };
    struct Web {
        Url url;
    };

    PostLink() = default;   // an X link with empty handle and digits
    PostLink(X x) : m_value(std::move(x)) {}
    PostLink(Web web) : m_value(std::move(web)) {}
    static PostLink x(Handle handle, StatusID status) { return PostLink(X{std::move(handle), std::move(status)}); }
    static PostLink web(Url url) { return PostLink(Web{std::move(url)}); }

    // Reads text pasted, dropped or typed by the user.
    static std::expected<PostLink, LinkRefusal> reading(const QString &text);

    // The service's hosts, lowercase and without "www."; and its main host.
    static const QSet<QString> &serviceHosts();
    static QString mainHost();

    // A web address with its host lowercased, its fragment, its "utm_" query items and its empty
    // query items removed (and the query with them when no item is left). Cleaning a cleaned
    // address changes nothing.
    static Url cleanedWebLink(const Url &url);

    const std::variant<X, Web> &value() const { return m_value; }
    const X *asX() const { return std::get_if<X>(&m_value); }
    const Web *asWeb() const { return std::get_if<Web>(&m_value); }
    bool isX() const { return m_value.index() == 0; }

    // The canonical address: the web URL unchanged, or https://x.com/<handle lowercased>/status/<digits>
    // with the handle percent-encoded as one path segment.
    Url url() const;
    Source source() const { return isX() ? Source::x : Source::web; }
    LinkKey key() const;

    friend bool operator==(const PostLink &a, const PostLink &b);

    JsonValue toJson() const;
    void writeJson(std::string &out) const;   // the same text, appended
    static PostLink fromJson(const JsonNode &node);

private:
    std::variant<X, Web> m_value;
};
std::size_t qHash(const PostLink &link, std::size_t seed = 0) noexcept;
inline std::size_t qHash(Source source, std::size_t seed = 0) noexcept { return ::qHash(int(Source::Value(source)), seed); }
inline std::size_t qHash(LinkRefusal refusal, std::size_t seed = 0) noexcept { return ::qHash(int(refusal), seed); }

}  // namespace sw

template <> struct std::hash<sw::Handle> {
    std::size_t operator()(const sw::Handle &v) const noexcept { return sw::qHash(v, 0); }
};
template <> struct std::hash<sw::StatusID> {
    std::size_t operator()(const sw::StatusID &v) const noexcept { return sw::qHash(v, 0); }
};
template <> struct std::hash<sw::PostLink> {
    std::size_t operator()(const sw::PostLink &v) const noexcept { return sw::qHash(v, 0); }
};
template <> struct std::hash<sw::Source> {
    std::size_t operator()(sw::Source v) const noexcept { return static_cast<std::size_t>(sw::Source::Value(v)); }
};
