#include "Capture/PostLink.h"

#include "Capture/KeyedHash.h"
#include "Capture/Text.h"

#include <QHash>

#include <mutex>

namespace sw {

// ---- Handle, StatusID, Source ----------------------------------------------------------------

Handle Handle::fromText(const QString &text)
{
    if (text.startsWith(u'@'))
        return Handle{text.mid(1)};
    return Handle{text};
}

QString Handle::lowercased() const
{
    return text::lowercased(name);
}

std::uint32_t Handle::identity() const
{
    // Equal handles have the same canonical lowercase name; each name gets the next number.
    static std::mutex mutex;
    static QHash<QString, std::uint32_t> identities;
    const QString key = text::canonical(lowercased());
    const std::lock_guard lock(mutex);
    const auto found = identities.constFind(key);
    if (found != identities.cend())
        return *found;
    const auto next = std::uint32_t(identities.size() + 1);
    identities.insert(key, next);
    return next;
}

bool operator==(const Handle &a, const Handle &b)
{
    if (a.name == b.name)
        return true;
    return text::canonicallyEqual(a.lowercased(), b.lowercased());
}

std::size_t qHash(const Handle &handle, std::size_t seed) noexcept
{
    return text::canonicalHash(handle.lowercased(), seed);
}

JsonValue Handle::toJson() const
{
    return JsonValue::object().set("name", name);
}

Handle Handle::fromJson(const JsonNode &node)
{
    // The same few handles come back with every post of their authors: pooled.
    return Handle{node["name"].pooledString()};
}

std::optional<StatusID> StatusID::fromText(const QString &text)
{
    if (text.isEmpty())
        return std::nullopt;
    for (QChar c : text)
        if (c < u'0' || c > u'9')
            return std::nullopt;
    return StatusID{text};
}

bool operator==(const StatusID &a, const StatusID &b)
{
    return text::canonicallyEqual(a.digits, b.digits);
}

std::size_t qHash(const StatusID &status, std::size_t seed) noexcept
{
    return text::canonicalHash(status.digits, seed);
}

JsonValue StatusID::toJson() const
{
    return JsonValue::object().set("digits", digits);
}

StatusID StatusID::fromJson(const JsonNode &node)
{
    return StatusID{node["digits"].string()};
}

JsonValue Source::toJson() const
{
    return JsonValue::tagged(m_value == x ? "x" : "web", JsonValue::object());
}

Source Source::fromJson(const JsonNode &node)
{
    const auto [name, payload] = node.oneCaseOf({"x", "web"});
    if (!payload.isObject())
        throw JsonError("Expected an object for the case \"" + std::string(name) + "\".");
    return name == "x" ? Source::x : Source::web;
}

// ---- PostLink --------------------------------------------------------------------------------

const QSet<QString> &PostLink::serviceHosts()
{
    // A function-local static is built once, safely under concurrent first use.
    static const QSet<QString> hosts{
        QStringLiteral("x.com"),
        QStringLiteral("twitter.com"),
        QStringLiteral("mobile.x.com"),
        QStringLiteral("mobile.twitter.com"),
    };
    return hosts;
}

QString PostLink::mainHost()
{
    return QStringLiteral("x.com");
}

std::expected<PostLink, LinkRefusal> PostLink::reading(const QString &input)
{
    // 1-2. Trim; what is left must be one word.
    QString text = text::trimmed(input);
    if (text.isEmpty() || text::containsWhiteSpace(text))
        return std::unexpected(LinkRefusal::notALink);

    // 3. A missing scheme is taken as https.
    if (!text.contains(u"://"))
        text.prepend(u"https://");
    const auto parsed = Url::parse(text);
    if (!parsed)
        return std::unexpected(LinkRefusal::notALink);

    // 4. Only web addresses.
    const QString scheme = parsed->scheme().toLower();
    if (scheme != u"https" && scheme != u"http")
        return std::unexpected(LinkRefusal::notALink);

    // 5-6. A host with a dot; "www." does not count.
    const auto host = parsed->host();
    if (!host)
        return std::unexpected(LinkRefusal::notALink);
    QString bareHost = host->toLower();
    if (!bareHost.contains(u'.'))
        return std::unexpected(LinkRefusal::notALink);
    if (bareHost.startsWith(u"www."))
        bareHost.remove(0, 4);

    // 7. Any other host is a web link.
    if (!serviceHosts().contains(bareHost))
        return PostLink::web(cleanedWebLink(*parsed));

    // 8-10. The service's own address must name a status.
    QStringList segments = parsed->pathSegments();
    if (segments.size() >= 4 && segments[0] == u"i" && segments[1] == u"web")
        segments.removeAt(1);
    if (segments.size() < 3 || segments[1] != u"status")
        return std::unexpected(LinkRefusal::notAPost);
    auto status = StatusID::fromText(segments[2]);
    if (!status)
        return std::unexpected(LinkRefusal::notAPost);

    // 11. The handle is taken as written.
    return PostLink::x(Handle::fromText(segments[0]), std::move(*status));
}

Url PostLink::cleanedWebLink(const Url &url)
{
    if (url.isEmpty())
        return url;
    Url cleaned = url;
    if (const auto host = url.host())
        cleaned = cleaned.withHost(host->toLower());
    cleaned = cleaned.withoutFragment();
    // Empty items ("a=1&", "&&") go with the tracking ones: kept, a lone empty item would leave
    // "?" behind, which the next cleaning removes, and the same page would be two links.
    std::vector<Url::QueryItem> kept;
    for (const auto &item : cleaned.queryItems()) {
        const bool empty = item.name.isEmpty() && !item.value;
        if (!empty && !item.decodedName().toLower().startsWith(u"utm_"))
            kept.push_back(item);
    }
    cleaned = cleaned.withQueryItems(kept);
    return cleaned.isEmpty() ? url : cleaned;
}

Url PostLink::url() const
{
    if (const Web *w = asWeb())
        return w->url;
    const X &x = std::get<X>(m_value);
    // The handle stands as exactly one path segment, whatever characters it holds: everything
    // that may not stand inside a segment ("/", "?", "#", "%", spaces...) is percent-encoded.
    const QString segment = QString::fromLatin1(QUrl::toPercentEncoding(x.handle.lowercased(), "!$&'()*+,;=:@"));
    const QString text = QStringLiteral("https://") + mainHost() + u'/' + segment + QStringLiteral("/status/") + x.status.digits;
    if (auto parsed = Url::parse(text))
        return *parsed;
    return Url();
}

namespace {
// The status number of 1 to 19 ASCII digits without a leading zero; none for any other text.
std::optional<std::uint64_t> statusNumber(QStringView digits)
{
    const qsizetype n = digits.size();
    if (n == 0 || n > 19 || (n > 1 && digits.front() == u'0'))
        return std::nullopt;
    std::uint64_t value = 0;
    for (QChar c : digits) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + std::uint64_t(c.unicode() - u'0');
    }
    return value;
}
}  // namespace

LinkKey PostLink::key() const
{
    if (const X *x = asX()) {
        if (const auto number = statusNumber(x->status.digits))
            return LinkKey{*number, true};
        // Statuses compare as canonical texts: one that is canonically a plain number is that number.
        const QString canonical = text::canonical(x->status.digits);
        if (const auto number = statusNumber(canonical))
            return LinkKey{*number, true};
        return LinkKey{std::uint64_t(qHash(canonical, hash::textSeed() ^ 0x5354u)), false};
    }
    // Under this process's own seed, so that no document can choose addresses whose keys meet.
    return LinkKey{std::uint64_t(qHash(asWeb()->url.text(), hash::textSeed() ^ 0x574542u)), false};
}

bool operator==(const PostLink &a, const PostLink &b)
{
    if (a.m_value.index() != b.m_value.index())
        return false;
    if (const auto *x = a.asX())
        return x->status == b.asX()->status;
    return a.asWeb()->url == b.asWeb()->url;
}

std::size_t qHash(const PostLink &link, std::size_t seed) noexcept
{
    seed = ::qHash(int(link.value().index()), seed);
    if (const auto *x = link.asX())
        return qHash(x->status, seed);
    return qHash(link.asWeb()->url, seed);
}

JsonValue PostLink::toJson() const
{
    if (const X *x = asX())
        return JsonValue::tagged("x", JsonValue::object().set("handle", x->handle.toJson()).set("status", x->status.toJson()));
    return JsonValue::tagged("web", JsonValue::object().set("_0", asWeb()->url.toJson()));
}

void PostLink::writeJson(std::string &out) const
{
    if (const X *x = asX()) {
        out.append(R"({"x":{"handle":{"name":)");
        writeJsonString(out, QStringView(x->handle.name));
        out.append(R"(},"status":{"digits":)");
        writeJsonString(out, QStringView(x->status.digits));
        out.append("}}}");
    } else {
        out.append(R"({"web":{"_0":)");
        asWeb()->url.writeJson(out);
        out.append("}}");
    }
}

PostLink PostLink::fromJson(const JsonNode &node)
{
    const auto [name, payload] = node.oneCaseOf({"x", "web"});
    if (name == "x")
        return PostLink::x(Handle::fromJson(payload["handle"]), StatusID::fromJson(payload["status"]));
    return PostLink::web(Url::fromJson(payload["_0"]));
}

}  // namespace sw
