#pragma once

// The identity of a post: one status on X, or any other web address. Two X links are the same
// post when their status numbers are equal, whatever the handles.

#include "Json.h"
#include "Url.h"

#include <QHashFunctions>
#include <QSet>
#include <QString>

#include <array>
#include <cstddef>
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

    // A web address with its host lowercased, its fragment and its "utm_" query items removed.
    static Url cleanedWebLink(const Url &url);

    const std::variant<X, Web> &value() const { return m_value; }
    const X *asX() const { return std::get_if<X>(&m_value); }
    const Web *asWeb() const { return std::get_if<Web>(&m_value); }
    bool isX() const { return m_value.index() == 0; }

    // The canonical address: the web URL unchanged, or https://x.com/<handle lowercased>/status/<digits>
    // with the handle percent-encoded as one path segment.
    Url url() const;
    Source source() const { return isX() ? Source::x : Source::web; }

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
