#include "StashKit/PageReader.h"

#include "Capture/Text.h"

#include <QHash>
#include <QRegularExpression>

namespace sw::PageReader {

namespace {

constexpr auto kOptions = QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption;

// The attribute expressions, built once per name.
const QRegularExpression &attributeExpression(QStringView name)
{
    static QHash<QString, QRegularExpression> cache;
    const QString key = name.toString();
    auto it = cache.find(key);
    if (it == cache.end()) {
        const QString pattern = QStringLiteral(R"(\b)") + key + QStringLiteral(R"re(\s*=\s*("([^"]*)"|'([^']*)'))re");
        it = cache.insert(key, QRegularExpression(pattern, kOptions));
    }
    return it.value();
}

// The page address's host as written, or the whole address when it has none.
QString hostText(const Url &address)
{
    if (const auto host = address.host(); host && !host->isEmpty())
        return *host;
    return address.text();
}

}  // namespace

QString clean(const QString &value)
{
    QString s = value;
    s.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    s.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    s.replace(QStringLiteral("&#39;"), QStringLiteral("'"));
    s.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    s.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    return text::trimmed(s);
}

std::optional<QString> attribute(QStringView name, const QString &tag)
{
    const QRegularExpressionMatch match = attributeExpression(name).match(tag);
    if (!match.hasMatch())
        return std::nullopt;
    if (match.capturedStart(2) >= 0)
        return match.captured(2);
    return match.captured(3);
}

std::optional<QString> meta(QStringView wanted, const QString &page)
{
    static const QRegularExpression tags(QStringLiteral(R"(<meta\b[^>]*>)"), kOptions);
    QRegularExpressionMatchIterator it = tags.globalMatch(page);
    while (it.hasNext()) {
        const QString tag = it.next().captured(0);
        auto key = attribute(u"property", tag);
        if (!key)
            key = attribute(u"name", tag);
        if (!key || !text::canonicallyEqual(text::lowercased(*key), wanted))
            continue;
        const auto content = attribute(u"content", tag);
        if (!content)
            continue;
        QString value = clean(*content);
        if (!value.isEmpty())
            return value;
    }
    return std::nullopt;
}

std::optional<QString> elementText(QStringView name, const QString &page)
{
    const QString n = name.toString();
    const QRegularExpression element(u'<' + n + QStringLiteral(R"([^>]*>([\s\S]*?)</)") + n + u'>', kOptions);
    const QRegularExpressionMatch match = element.match(page);
    if (!match.hasMatch())
        return std::nullopt;
    QString inner = clean(match.captured(1));
    if (inner.isEmpty())
        return std::nullopt;
    return inner;
}

Post post(const QString &page, const PostLink &link, Date fetchedAt)
{
    const Url address = link.url();
    const QString host = hostText(address);

    QString title = meta(u"og:title", page).value_or(QString());
    if (title.isEmpty())
        title = elementText(u"title", page).value_or(host);
    std::optional<QString> description = meta(u"og:description", page);
    if (!description)
        description = meta(u"description", page);
    const QString siteName = meta(u"og:site_name", page).value_or(host);
    std::optional<Url> picture;
    if (const auto image = meta(u"og:image", page))
        picture = Url::parse(*image);

    Post post;
    post.link = link;
    post.author.name = siteName;
    post.author.handle = Handle::fromText(host);
    post.text = description ? title + QStringLiteral("\n\n") + *description : title;
    post.postedAt = fetchedAt;
    post.attachments.push_back(Attachment(Attachment::Page{address, std::int64_t(page.toUtf8().size())}));
    post.preview = picture;
    return post;
}

}  // namespace sw::PageReader
