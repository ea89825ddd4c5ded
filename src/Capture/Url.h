#pragma once

// A URL as the model keeps it: always held, written and compared as its absolute text in the
// fully encoded form (QUrl::FullyEncoded). An empty Url is "no URL".

#include "Json.h"

#include <QHashFunctions>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <cstddef>
#include <functional>
#include <optional>
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
    const QString &text() const { return m_text; }
    QUrl qurl() const { return m_url; }

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

    bool isLocalFile() const { return m_url.isLocalFile(); }
    QString toLocalFile() const { return m_url.toLocalFile(); }
    // True for "http" and "https" (any case).
    bool isHttp() const;

    friend bool operator==(const Url &a, const Url &b) { return a.m_text == b.m_text; }
    friend auto operator<=>(const Url &a, const Url &b) { return a.m_text.compare(b.m_text) <=> 0; }

    // The absolute text as a JSON string; reading fails when the text forms no URL.
    JsonValue toJson() const { return JsonValue(m_text); }
    static Url fromJson(const JsonNode &node);

private:
    explicit Url(const QUrl &url);
    QUrl m_url;
    QString m_text;
};

inline std::size_t qHash(const Url &url, std::size_t seed = 0) noexcept { return qHash(url.text(), seed); }

}  // namespace sw

template <> struct std::hash<sw::Url> {
    std::size_t operator()(const sw::Url &u) const noexcept { return sw::qHash(u, 0); }
};
