#include "Url.h"

namespace sw {

Url::Url(const QUrl &url) : m_url(url), m_text(url.toString(QUrl::FullyEncoded)) {}

std::optional<Url> Url::parse(const QString &text)
{
    if (text.isEmpty())
        return std::nullopt;
    // Tolerant mode percent-encodes what may not stand in a URL (spaces, a lone "%", non-ASCII)
    // and refuses only what still forms no URL.
    const QUrl url(text, QUrl::TolerantMode);
    if (!url.isValid() || url.isEmpty())
        return std::nullopt;
    return Url(url);
}

Url Url::fromQUrl(const QUrl &url)
{
    if (!url.isValid() || url.isEmpty())
        return Url();
    return Url(url);
}

Url Url::fromLocalFile(const QString &path)
{
    return fromQUrl(QUrl::fromLocalFile(path));
}

QString Url::QueryItem::decodedName() const
{
    return QUrl::fromPercentEncoding(name.toUtf8());
}

QString Url::scheme() const
{
    return m_url.scheme();
}

std::optional<QString> Url::host() const
{
    const QString h = m_url.host(QUrl::FullyEncoded);
    if (h.isEmpty())
        return std::nullopt;
    return h;
}

std::optional<int> Url::port() const
{
    const int p = m_url.port();
    if (p < 0)
        return std::nullopt;
    return p;
}

QStringList Url::pathSegments() const
{
    // Split the encoded path first, so that an encoded "/" stays inside its segment.
    const QString encoded = m_url.path(QUrl::FullyEncoded);
    QStringList out;
    for (const QString &segment : encoded.split(u'/', Qt::SkipEmptyParts))
        out.append(QUrl::fromPercentEncoding(segment.toUtf8()));
    return out;
}

QString Url::path() const
{
    return m_url.path(QUrl::FullyEncoded);
}

std::optional<QString> Url::query() const
{
    if (!m_url.hasQuery())
        return std::nullopt;
    return m_url.query(QUrl::FullyEncoded);
}

std::vector<Url::QueryItem> Url::queryItems() const
{
    std::vector<QueryItem> out;
    const auto q = query();
    if (!q || q->isEmpty())   // "?" alone holds no item
        return out;
    for (const QString &piece : q->split(u'&')) {
        const qsizetype eq = piece.indexOf(u'=');
        if (eq < 0)
            out.push_back({piece, std::nullopt});
        else
            out.push_back({piece.left(eq), piece.mid(eq + 1)});
    }
    return out;
}

std::optional<QString> Url::fragment() const
{
    if (!m_url.hasFragment())
        return std::nullopt;
    return m_url.fragment(QUrl::FullyEncoded);
}

Url Url::withQueryItems(const std::vector<QueryItem> &items) const
{
    if (items.empty())
        return withoutQuery();
    QString q;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const QueryItem &item = items[i];
        if (i > 0)
            q.append(u'&');
        q.append(item.name);
        if (item.value) {
            q.append(u'=');
            q.append(*item.value);
        }
    }
    QUrl u = m_url;
    u.setQuery(q, QUrl::TolerantMode);
    return fromQUrl(u);
}

Url Url::withoutQuery() const
{
    QUrl u = m_url;
    u.setQuery(QString());
    return fromQUrl(u);
}

Url Url::withoutFragment() const
{
    QUrl u = m_url;
    u.setFragment(QString());
    return fromQUrl(u);
}

Url Url::withHost(const QString &host) const
{
    QUrl u = m_url;
    u.setHost(host, QUrl::TolerantMode);
    if (!u.isValid())
        return *this;
    return fromQUrl(u);
}

std::optional<Url> Url::resolved(const QString &reference) const
{
    const QUrl ref(reference, QUrl::TolerantMode);
    if (!ref.isValid())
        return std::nullopt;
    const QUrl result = m_url.resolved(ref);
    if (!result.isValid() || result.isEmpty())
        return std::nullopt;
    return Url(result);
}

bool Url::isHttp() const
{
    const QString s = m_url.scheme().toLower();
    return s == u"http" || s == u"https";
}

Url Url::fromJson(const JsonNode &node)
{
    auto url = parse(node.string());
    if (!url)
        throw JsonError("Invalid URL string.");
    return *url;
}

}  // namespace sw
