#pragma once

// A URL as the model keeps it: always held, written and compared as its absolute text in the
// fully encoded form (QUrl::FullyEncoded). An empty Url is "no URL". That text is ASCII, and is
// kept as its bytes: half the room of a QString, for the hundreds of thousands of addresses a
// library holds.
//
// A library holds hundreds of thousands of URLs and reads them all at every start. A text read
// from the archive that is plainly already in the fully encoded form (see isPlainlyCanonical) is
// kept as its text alone, without the parsed QUrl, which is made again when a component is asked
// for: such a text is known to parse, and to give itself back.

#include "Capture/Json.h"

#include <QByteArray>
#include <QHashFunctions>
#include <QLatin1StringView>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sw {

class Url {
public:
    // One item of a query, in its raw (percent-encoded) text; a missing "=" is a missing value.
    struct QueryItem {
        QString name;
        std::optional<QString> value;
        friend bool operator==(const QueryItem &, const QueryItem &) = default;
        // The name, percent-decoded.
        QString decodedName() const;
    };

    Url() = default;

    // Parses a text as an RFC 3986 URL (absolute or relative). Characters that may not stand in a
    // URL (spaces, non-ASCII, a lone "%") are percent-encoded instead of failing; a text that still
    // forms no URL gives none.
    static std::optional<Url> parse(const QString &text);
    // A Url of a QUrl; an invalid or empty QUrl gives an empty Url.
    static Url fromQUrl(const QUrl &url);
    // The file:// URL of a local path.
    static Url fromLocalFile(const QString &path);

    bool isEmpty() const { return m_text.isEmpty(); }
    // The absolute text (fully encoded).
    QString text() const { return QString::fromLatin1(m_text); }
    // The same text's bytes (ASCII).
    const QByteArray &encoded() const { return m_text; }
    QUrl qurl() const;

    // As written (QUrl keeps schemes lowercase); empty when there is none.
    QString scheme() const;
    // The host in its percent-encoded form; none when the URL has no authority.
    std::optional<QString> host() const;
    std::optional<int> port() const;
    // The path's segments, percent-decoded, empty segments left out.
    QStringList pathSegments() const;
    // The path in its encoded form.
    QString path() const;
    // The raw query text without "?"; none when there is no query.
    std::optional<QString> query() const;
    std::vector<QueryItem> queryItems() const;
    std::optional<QString> fragment() const;

    // Copies with one component changed. An empty item list removes the query and its "?".
    Url withQueryItems(const std::vector<QueryItem> &items) const;
    Url withoutQuery() const;
    Url withoutFragment() const;
    Url withHost(const QString &host) const;

    // A reference (absolute or relative) resolved against this URL; none when it forms no URL.
    std::optional<Url> resolved(const QString &reference) const;

    bool isLocalFile() const { return qurl().isLocalFile(); }
    QString toLocalFile() const { return qurl().toLocalFile(); }
    // True for "http" and "https" (any case).
    bool isHttp() const;

    friend bool operator==(const Url &a, const Url &b) { return a.m_text == b.m_text; }
    friend auto operator<=>(const Url &a, const Url &b) { return a.m_text.compare(b.m_text) <=> 0; }

    // The absolute text as a JSON string; reading fails when the text forms no URL.
    JsonValue toJson() const { return JsonValue(std::string_view(m_text.constData(), std::size_t(m_text.size()))); }
    void writeJson(std::string &out) const
    {
        writeJsonString(out, std::string_view(m_text.constData(), std::size_t(m_text.size())));
    }
    static Url fromJson(const JsonNode &node);
    // The same for an address that many values of a document repeat (an author's avatar): its
    // text is taken from the string pool open on this thread, if any.
    static Url fromPooledJson(const JsonNode &node);

    // True for an ASCII text that QUrl reads as a valid URL and writes back unchanged in the fully
    // encoded form, recognised without parsing it: a lowercase scheme, "://", a host of lowercase
    // letters, digits and inner hyphens (no IP address, no internationalised label, no port, no
    // user), then a path and a query of characters that need no encoding and upper-case escapes
    // of bytes that must stay escaped; no fragment. Anything else may still be a URL; it is
    // simply parsed.
    static bool isPlainlyCanonical(std::string_view text);

private:
    explicit Url(const QUrl &url);
    explicit Url(QByteArray canonicalText) : m_text(std::move(canonicalText)) {}
    // A text kept without its QUrl is one that isPlainlyCanonical accepted: its parts are read
    // straight from it.
    bool isTextOnly() const { return m_url.isEmpty() && !m_text.isEmpty(); }
    struct Parts {
        QLatin1StringView scheme;
        QLatin1StringView host;
        QLatin1StringView path;
        std::optional<QLatin1StringView> query;
    };
    Parts plainParts() const;
    QUrl m_url;          // empty when the text alone is kept
    QByteArray m_text;   // ASCII
};

inline std::size_t qHash(const Url &url, std::size_t seed = 0) noexcept { return qHash(url.encoded(), seed); }

}  // namespace sw

template <> struct std::hash<sw::Url> {
    std::size_t operator()(const sw::Url &u) const noexcept { return sw::qHash(u, 0); }
};
