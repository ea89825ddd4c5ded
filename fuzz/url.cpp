// The URL facility. A URL's own text parses as the same URL; its JSON form reads back as it; a
// text kept without parsing (one that looks plainly canonical) gives the same parts as the parsed
// URL; and cleaning a web address cleans it once and for all.

#include "Fuzz.h"

#include "Capture/PostLink.h"
#include "Capture/Url.h"

using namespace sw;

namespace {

QString describe(const Url &url)
{
    QStringList parts{url.scheme(), url.host().value_or(QStringLiteral("<no host>")),
                      url.port() ? QString::number(*url.port()) : QStringLiteral("<no port>"), url.path(),
                      url.pathSegments().join(u'|'), url.query().value_or(QStringLiteral("<no query>")),
                      url.fragment().value_or(QStringLiteral("<no fragment>"))};
    for (const Url::QueryItem &item : url.queryItems())
        parts.append(item.name + u'=' + item.value.value_or(QStringLiteral("<none>")));
    return parts.join(u' ');
}

Url fromJsonText(const std::string &text)
{
    const JsonDocument document(text);
    return Url::fromJson(document.root());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = sw::fuzz::textOf(data, size);
    const std::optional<Url> url = Url::parse(text);
    if (!url) {
        sw::fuzz::wasRefused();
        return 0;
    }
    sw::fuzz::wasRead();
    const QString &own = url->text();

    const std::optional<Url> again = Url::parse(own);
    sw::fuzz::check(again.has_value(), "a URL's own text parses", own);
    sw::fuzz::check(again->text() == own, "a URL's own text parses as itself", own + QStringLiteral(" -> ") + again->text());

    // The archive's form, which keeps a plainly canonical text without parsing it.
    std::string json;
    url->writeJson(json);
    Url stored;
    try {
        stored = fromJsonText(json);
    } catch (const JsonError &error) {
        sw::fuzz::fail("a URL's JSON form reads back", error.message() + u' ' + own);
    }
    sw::fuzz::check(stored == *url, "a URL's JSON form reads back as the URL", own);
    sw::fuzz::check(describe(stored) == describe(*url), "a stored URL has the parts of the parsed one",
                    describe(stored) + QStringLiteral("\n  parsed: ") + describe(*url));

    // The input itself, when it looks plainly canonical, is kept as it is and means what it says.
    const std::string_view bytes = sw::fuzz::bytesOf(data, size);
    if (Url::isPlainlyCanonical(bytes))
        sw::fuzz::check(own == text, "a plainly canonical text is its URL's own text", text + QStringLiteral(" -> ") + own);

    // Cleaning, as the link reader cleans a web address.
    if (url->isHttp() && url->host()) {
        const Url cleaned = PostLink::cleanedWebLink(*url);
        const Url twice = PostLink::cleanedWebLink(cleaned);
        sw::fuzz::check(twice == cleaned, "cleaning a cleaned address changes nothing",
                        own + QStringLiteral(" -> ") + cleaned.text() + QStringLiteral(" -> ") + twice.text());
    }
    return 0;
}
