#include "Capture/Url.h"

#include "Capture/StringPool.h"

#include <algorithm>
#include <array>

namespace sw {

Url::Url(const QUrl &url) : m_url(url), m_text(url.toString(QUrl::FullyEncoded).toLatin1()) {}

QUrl Url::qurl() const
{
    if (!m_url.isEmpty() || m_text.isEmpty())
        return m_url;
    return QUrl(QString::fromLatin1(m_text), QUrl::TolerantMode);
}

namespace {

constexpr bool isLowerAlpha(char c) { return c >= 'a' && c <= 'z'; }
constexpr bool isDigit(char c) { return c >= '0' && c <= '9'; }
constexpr bool isUpperHex(char c) { return isDigit(c) || (c >= 'A' && c <= 'F'); }
constexpr int hexValue(char c) { return isDigit(c) ? c - '0' : c - 'A' + 10; }
// Characters QUrl leaves as they are in a path or a query of the fully encoded form.
constexpr bool isPlainPathChar(char c)
{
    if (isLowerAlpha(c) || isDigit(c) || (c >= 'A' && c <= 'Z'))
        return true;
    switch (c) {
    case '-': case '.': case '_': case '~':                                   // unreserved
    case '!': case '$': case '&': case '\'': case '(': case ')': case '*':     // sub-delims
    case '+': case ',': case ';': case '=':
    case ':': case '@': case '/':
        return true;
    default:
        return false;
    }
}
// Bytes that QUrl writes as themselves when they come escaped, so an escape of one changes.
constexpr bool isUnreservedByte(int b)
{
    return (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9') || b == '-' || b == '.'
           || b == '_' || b == '~';
}

// The bytes that stand for themselves in the path and query of a plainly canonical text ("?"
// among them), looked up for each byte of every address a document holds.
constexpr std::array<bool, 256> kPlainInPathOrQuery = [] {
    std::array<bool, 256> plain{};
    for (int c = 0; c < 128; ++c)
        plain[std::size_t(c)] = c == '?' || isPlainPathChar(char(c));
    return plain;
}();

}  // namespace

bool Url::isPlainlyCanonical(std::string_view t)
{
    std::size_t i = 0;
    const std::size_t n = t.size();
    // Scheme: a lowercase letter, then lowercase letters, digits, "+", "-", ".".
    if (n == 0 || !isLowerAlpha(t[0]))
        return false;
    while (i < n && (isLowerAlpha(t[i]) || isDigit(t[i]) || t[i] == '+' || t[i] == '-' || t[i] == '.'))
        ++i;
    if (t.substr(i, 3) != "://")
        return false;
    i += 3;
    // Host: labels of 1 to 63 lowercase letters, digits and inner hyphens, none beginning with
    // "xn--" (internationalised names are checked and rewritten by QUrl); the last label begins
    // with a letter, so that the host is never read as an IPv4 address.
    bool lastLabelStartsWithLetter = false;
    for (;;) {
        const std::size_t start = i;
        while (i < n && (isLowerAlpha(t[i]) || isDigit(t[i]) || t[i] == '-'))
            ++i;
        const std::size_t length = i - start;
        if (length == 0 || length > 63 || t[start] == '-' || t[i - 1] == '-')
            return false;
        if (t.substr(start, 4) == "xn--")
            return false;
        lastLabelStartsWithLetter = isLowerAlpha(t[start]);
        if (i < n && t[i] == '.') {
            ++i;
            continue;
        }
        break;
    }
    if (!lastLabelStartsWithLetter)
        return false;
    if (i < n && t[i] != '/' && t[i] != '?')
        return false;   // a port, a user, a fragment or anything else
    // Path, then an optional query ("?" may stand in both): plain characters and escapes that
    // stay escaped.
    while (i < n) {
        while (i < n && kPlainInPathOrQuery[static_cast<unsigned char>(t[i])])
            ++i;
        if (i == n)
            break;
        const char c = t[i];
        if (c == '%') {
            if (i + 2 >= n || !isUpperHex(t[i + 1]) || !isUpperHex(t[i + 2]))
                return false;
            if (isUnreservedByte(hexValue(t[i + 1]) * 16 + hexValue(t[i + 2])))
                return false;
            i += 3;
            continue;
        }
        return false;
    }
    return true;
}

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

Url::Parts Url::plainParts() const
{
    // scheme "://" host [path] ["?" query], as isPlainlyCanonical accepted it.
    const QLatin1StringView t(m_text);
    const qsizetype hostStart = t.indexOf(QLatin1StringView("://")) + 3;
    qsizetype hostEnd = hostStart;
    while (hostEnd < t.size() && t.at(hostEnd).toLatin1() != '/' && t.at(hostEnd).toLatin1() != '?')
        ++hostEnd;
    const qsizetype mark = t.indexOf(u'?', hostEnd);
    const qsizetype pathEnd = mark < 0 ? t.size() : mark;
    Parts parts{t.first(hostStart - 3), t.sliced(hostStart, hostEnd - hostStart), t.sliced(hostEnd, pathEnd - hostEnd),
                std::nullopt};
    if (mark >= 0)
        parts.query = t.sliced(mark + 1);
    return parts;
}

QString Url::scheme() const
{
    if (isTextOnly())
        return plainParts().scheme.toString();
    return qurl().scheme();
}

std::optional<QString> Url::host() const
{
    if (isTextOnly())
        return plainParts().host.toString();
    const QString h = qurl().host(QUrl::FullyEncoded);
    if (h.isEmpty())
        return std::nullopt;
    return h;
}

std::optional<int> Url::port() const
{
    if (isTextOnly())
        return std::nullopt;
    const int p = qurl().port();
    if (p < 0)
        return std::nullopt;
    return p;
}

QStringList Url::pathSegments() const
{
    // Split the encoded path first, so that an encoded "/" stays inside its segment. A segment of
    // plain ASCII without an escape decodes to itself.
    const QString encoded = path();
    QStringList out;
    for (const QStringView segment : QStringView(encoded).tokenize(u'/', Qt::SkipEmptyParts)) {
        const bool plain = std::all_of(segment.begin(), segment.end(),
                                       [](QChar c) { return c.unicode() < 0x80 && c != u'%'; });
        out.append(plain ? segment.toString() : QUrl::fromPercentEncoding(segment.toUtf8()));
    }
    return out;
}

QString Url::path() const
{
    if (isTextOnly())
        return plainParts().path.toString();
    return qurl().path(QUrl::FullyEncoded);
}

std::optional<QString> Url::query() const
{
    if (isTextOnly()) {
        const auto query = plainParts().query;
        return query ? std::optional<QString>(query->toString()) : std::nullopt;
    }
    const QUrl u = qurl();
    if (!u.hasQuery())
        return std::nullopt;
    return u.query(QUrl::FullyEncoded);
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
    if (isTextOnly())
        return std::nullopt;
    const QUrl u = qurl();
    if (!u.hasFragment())
        return std::nullopt;
    return u.fragment(QUrl::FullyEncoded);
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
    QUrl u = qurl();
    u.setQuery(q, QUrl::TolerantMode);
    return fromQUrl(u);
}

Url Url::withoutQuery() const
{
    QUrl u = qurl();
    u.setQuery(QString());
    return fromQUrl(u);
}

Url Url::withoutFragment() const
{
    QUrl u = qurl();
    u.setFragment(QString());
    return fromQUrl(u);
}

Url Url::withHost(const QString &host) const
{
    QUrl u = qurl();
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
    const QUrl result = qurl().resolved(ref);
    if (!result.isValid() || result.isEmpty())
        return std::nullopt;
    return Url(result);
}

bool Url::isHttp() const
{
    const QString s = scheme().toLower();
    return s == u"http" || s == u"https";
}

namespace {
Url readUrl(std::string_view text)
{
    auto url = Url::parse(QString::fromUtf8(text.data(), qsizetype(text.size())));
    if (!url)
        throw JsonError("Invalid URL string.");
    return *url;
}
}  // namespace

Url Url::fromJson(const JsonNode &node)
{
    const std::string_view text = node.stringView();
    if (isPlainlyCanonical(text))
        return Url(QByteArray(text.data(), qsizetype(text.size())));
    return readUrl(text);
}

Url Url::fromPooledJson(const JsonNode &node)
{
    const std::string_view text = node.stringView();
    if (isPlainlyCanonical(text))
        return Url(StringPool::bytes(text));
    return readUrl(text);
}

}  // namespace sw
