#include "StashKit/NetworkRoute.h"

#include "Capture/Text.h"

#include <QChar>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QTextBoundaryFinder>

#include <limits>

namespace sw {

namespace {

// The scheme, host and port of an address, read the way a URL parser reads its authority. The
// host keeps the form it has in the text (case, percent escapes, brackets); characters that may
// not stand in a host are percent-encoded rather than refused.
struct ProxyAddress {
    QString scheme;
    QString host;
    std::optional<std::int64_t> port;
};

bool isSchemeChar(QChar c, bool first)
{
    const char16_t u = c.unicode();
    const bool letter = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z');
    if (first)
        return letter;
    return letter || (u >= '0' && u <= '9') || u == '+' || u == '-' || u == '.';
}

bool isHexDigit(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= '0' && u <= '9') || (u >= 'a' && u <= 'f') || (u >= 'A' && u <= 'F');
}

// RFC 3986 reg-name characters: unreserved and sub-delims ("%" is handled apart).
bool isHostChar(char16_t u)
{
    if ((u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9'))
        return true;
    return QStringView(u"-._~!$&'()*+,;=").contains(QChar(u));
}

QString encodedHost(QStringView host)
{
    QString out;
    for (qsizetype i = 0; i < host.size(); ++i) {
        const QChar c = host[i];
        if (c == u'%' && i + 2 < host.size() && isHexDigit(host[i + 1]) && isHexDigit(host[i + 2])) {
            out += c;
            continue;
        }
        if (c != u'%' && isHostChar(c.unicode())) {
            out += c;
            continue;
        }
        // One character (a surrogate pair counts as one) in UTF-8, percent-encoded.
        qsizetype length = 1;
        if (c.isHighSurrogate() && i + 1 < host.size() && host[i + 1].isLowSurrogate())
            length = 2;
        const QByteArray utf8 = host.mid(i, length).toUtf8();
        for (const char byte : utf8)
            out += u'%' + QString::number(quint8(byte), 16).toUpper().rightJustified(2, u'0');
        i += length - 1;
    }
    return out;
}

std::optional<ProxyAddress> parseAddress(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && isSchemeChar(text[i], i == 0))
        ++i;
    if (i == 0 || i >= text.size() || text[i] != u':')
        return std::nullopt;
    ProxyAddress address;
    address.scheme = text.left(i);
    QStringView rest = QStringView(text).mid(i + 1);
    if (!rest.startsWith(u"//"))
        return std::nullopt;   // no authority, so no host
    rest = rest.mid(2);
    qsizetype end = 0;
    while (end < rest.size() && rest[end] != u'/' && rest[end] != u'?' && rest[end] != u'#')
        ++end;
    QStringView authority = rest.left(end);
    if (const qsizetype at = authority.lastIndexOf(u'@'); at >= 0)
        authority = authority.mid(at + 1);

    QStringView host;
    QStringView port;
    bool hasPort = false;
    if (authority.startsWith(u'[')) {
        const qsizetype close = authority.indexOf(u']');
        if (close < 0)
            return std::nullopt;
        host = authority.left(close + 1);
        const QStringView after = authority.mid(close + 1);
        if (!after.isEmpty()) {
            if (after[0] != u':')
                return std::nullopt;
            hasPort = true;
            port = after.mid(1);
        }
    } else {
        const qsizetype colon = authority.indexOf(u':');
        host = colon < 0 ? authority : authority.left(colon);
        if (colon >= 0) {
            hasPort = true;
            port = authority.mid(colon + 1);
        }
    }
    if (hasPort) {
        std::int64_t value = 0;
        for (const QChar c : port) {
            if (c < u'0' || c > u'9')
                return std::nullopt;   // not an address
            const int digit = c.unicode() - u'0';
            value = value > (std::numeric_limits<std::int64_t>::max() - digit) / 10
                ? std::numeric_limits<std::int64_t>::max()
                : value * 10 + digit;
        }
        if (!port.isEmpty())
            address.port = value;
    }
    address.host = host.startsWith(u'[') ? host.toString() : encodedHost(host);
    return address;
}

// A value of a proxy setting, read for a kind: "host:port" or "scheme://host:port".
std::optional<NetworkRoute> readProxyValue(const QString &value, NetworkRoute::Kind kind)
{
    const QString text = value.contains(u"://") ? value : QStringLiteral("http://") + value;
    const auto address = parseAddress(text);
    if (!address || address->host.isEmpty() || !address->port)
        return std::nullopt;
    const QString scheme = address->scheme.toLower();
    const bool socks = scheme.startsWith(u"socks");
    if ((kind == NetworkRoute::Kind::socks) != socks)
        return std::nullopt;
    return NetworkRoute::proxy(kind, address->host, *address->port);
}

// Spaces and tabs only (general category Zs and U+0009), not line breaks.
bool isSpaceOrTab(QChar c)
{
    return c == u'\t' || c.category() == QChar::Separator_Space;
}

QString trimmedSpacesAndTabs(const QString &s)
{
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && isSpaceOrTab(s[begin]))
        ++begin;
    while (end > begin && isSpaceOrTab(s[end - 1]))
        --end;
    return s.mid(begin, end - begin);
}

// The text as user-perceived characters (extended grapheme clusters): a carriage return and line
// feed are one character, and so is a separator followed by a combining mark.
QStringList characters(const QString &text)
{
    QStringList out;
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
    qsizetype start = 0;
    while (graphemes.toNextBoundary() != -1) {
        const qsizetype position = graphemes.position();
        out.append(text.mid(start, position - start));
        start = position;
    }
    return out;
}

// Character equality is canonical equivalence (U+037E GREEK QUESTION MARK is a ";").
bool isCharacter(const QString &character, QStringView wanted)
{
    return text::canonicallyEqual(character, wanted);
}

// Removes the characters in `set` from both ends.
QString trimmedOf(const QString &s, QStringView set)
{
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && set.contains(s[begin]))
        ++begin;
    while (end > begin && set.contains(s[end - 1]))
        --end;
    return s.mid(begin, end - begin);
}

// The system's proxy for each query, asked anew every time.
class SystemProxyFactory final : public QNetworkProxyFactory {
public:
    QList<QNetworkProxy> queryProxy(const QNetworkProxyQuery &query) override
    {
        return QNetworkProxyFactory::systemProxyForQuery(query);
    }
};

QString proxyHostName(const QString &host)
{
    // An address written in brackets is given to the network stack without them.
    if (host.startsWith(u'[') && host.endsWith(u']'))
        return host.mid(1, host.size() - 2);
    return host;
}

}  // namespace

QString NetworkRoute::kindRawValue(Kind kind)
{
    return kind == Kind::http ? QStringLiteral("http") : QStringLiteral("socks");
}

std::optional<NetworkRoute::Kind> NetworkRoute::kindFromRawValue(const QString &text)
{
    if (text == u"http")
        return Kind::http;
    if (text == u"socks")
        return Kind::socks;
    return std::nullopt;
}

QString NetworkRoute::rawValue() const
{
    return std::visit(
        [](const auto &route) -> QString {
            using T = std::decay_t<decltype(route)>;
            if constexpr (std::is_same_v<T, Http>)
                return QStringLiteral("http://") + route.host + u':' + QString::number(route.port);
            else if constexpr (std::is_same_v<T, Socks>)
                return QStringLiteral("socks://") + route.host + u':' + QString::number(route.port);
            else if constexpr (std::is_same_v<T, System>)
                return QStringLiteral("system");
            else
                return QStringLiteral("direct");
        },
        m_value);
}

std::optional<NetworkRoute> NetworkRoute::fromRawValue(const QString &text)
{
    if (text == u"system")
        return system();
    if (text == u"direct")
        return direct();
    const auto address = parseAddress(text);
    if (!address)
        return std::nullopt;
    const auto kind = kindFromRawValue(address->scheme);
    if (!kind || !address->port)
        return std::nullopt;
    return proxy(*kind, address->host, *address->port);
}

std::optional<NetworkRoute> NetworkRoute::proxy(Kind kind, const QString &host, std::int64_t port)
{
    const QString trimmed = text::trimmed(host);
    if (trimmed.isEmpty() || port < 1 || port > 65535)
        return std::nullopt;
    if (kind == Kind::http)
        return NetworkRoute(Http{trimmed, int(port)});
    return NetworkRoute(Socks{trimmed, int(port)});
}

QList<NetworkRoute> NetworkRoute::routesFromPasted(const QString &pasted)
{
    QStringList statements;
    QString current;
    for (const QString &character : characters(pasted)) {
        if (character == u"\n" || isCharacter(character, u";")) {
            if (!current.isEmpty())
                statements.append(current);
            current.clear();
        } else {
            current += character;
        }
    }
    if (!current.isEmpty())
        statements.append(current);

    QHash<QString, QString> settings;
    for (const QString &raw : statements) {
        QString statement = trimmedSpacesAndTabs(raw);
        static const QString exportWord = QStringLiteral("export ");
        if (statement.startsWith(exportWord)) {
            // Only when the space stands alone as a character (no combining mark on it).
            QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, statement);
            graphemes.setPosition(exportWord.size());
            if (graphemes.isAtBoundary())
                statement = statement.mid(exportWord.size());
        }
        const QStringList chars = characters(statement);
        qsizetype offset = 0;
        std::optional<qsizetype> equals;
        for (const QString &character : chars) {
            if (isCharacter(character, u"=")) {
                equals = offset;
                break;
            }
            offset += character.size();
        }
        if (!equals)
            continue;
        const QString name = statement.left(*equals);
        const QString value = trimmedOf(statement.mid(*equals + 1), u"\"' ");
        settings.insert(name, value);
    }
    return routesFromSettings(settings);
}

QList<NetworkRoute> NetworkRoute::routesFromSettings(const QHash<QString, QString> &settings)
{
    const auto setting = [&](const QString &name) -> std::optional<QString> {
        if (const auto it = settings.constFind(name.toLower()); it != settings.constEnd())
            return it.value();
        if (const auto it = settings.constFind(name.toUpper()); it != settings.constEnd())
            return it.value();
        return std::nullopt;
    };
    QList<NetworkRoute> routes;
    auto http = setting(QStringLiteral("https_proxy"));
    if (!http)
        http = setting(QStringLiteral("http_proxy"));
    if (http)
        if (const auto route = readProxyValue(*http, Kind::http))
            routes.append(*route);
    if (const auto socks = setting(QStringLiteral("all_proxy")))
        if (const auto route = readProxyValue(*socks, Kind::socks))
            routes.append(*route);
    return routes;
}

std::optional<QNetworkProxy> NetworkRoute::networkProxy() const
{
    if (const Http *http = asHttp())
        return QNetworkProxy(QNetworkProxy::HttpProxy, proxyHostName(http->host), quint16(http->port));
    if (const Socks *socks = asSocks()) {
        QNetworkProxy proxy(QNetworkProxy::Socks5Proxy, proxyHostName(socks->host), quint16(socks->port));
        proxy.setCapabilities(proxy.capabilities() | QNetworkProxy::HostNameLookupCapability);
        return proxy;
    }
    if (isDirect())
        return QNetworkProxy(QNetworkProxy::NoProxy);
    return std::nullopt;
}

void NetworkRoute::applyTo(QNetworkAccessManager &manager) const
{
    if (const auto proxy = networkProxy())
        manager.setProxy(*proxy);
    else
        manager.setProxyFactory(new SystemProxyFactory);   // the manager owns it
}

bool operator==(const NetworkRoute &a, const NetworkRoute &b)
{
    return text::canonicallyEqual(a.rawValue(), b.rawValue());
}

std::size_t qHash(const NetworkRoute &route, std::size_t seed) noexcept
{
    return text::canonicalHash(route.rawValue(), seed);
}

}  // namespace sw
