#include "StashKit/PageReader.h"

#include "Capture/Text.h"

#include <array>

namespace sw::PageReader {

// Pages come from anyone, hostile ones included: every reading below is one pass over the text
// (or over a tag), with no search started again from each position, so a page of unclosed tags
// costs no more than its length. The rules are those of patterns matched case-insensitively over
// Unicode: a name starts where no letter, digit or underscore stands before it, white space is
// Unicode's, and letters compare by their case folding.

namespace {

bool isWordCharacter(char32_t c) { return c == U'_' || QChar::isLetterOrNumber(c); }

// Whether a word starting at `at` has a word boundary before it.
bool startsWord(QStringView text, qsizetype at)
{
    if (at == 0)
        return true;
    const QChar before = text[at - 1];
    if (before.isLowSurrogate() && at >= 2 && text[at - 2].isHighSurrogate())
        return !isWordCharacter(QChar::surrogateToUcs4(text[at - 2], before));
    return !isWordCharacter(before.unicode());
}

// Whether a word ending just before `at` has a word boundary after it.
bool endsWord(QStringView text, qsizetype at)
{
    if (at >= text.size())
        return true;
    const QChar after = text[at];
    if (after.isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate())
        return !isWordCharacter(QChar::surrogateToUcs4(after, text[at + 1]));
    return !isWordCharacter(after.unicode());
}

bool isSpace(QChar c) { return c.isSpace(); }

// Whether `text` holds `word` at `at`, letters compared by their case folding.
bool holdsAt(QStringView text, qsizetype at, QStringView word)
{
    if (at < 0 || at + word.size() > text.size())
        return false;
    for (qsizetype i = 0; i < word.size(); ++i) {
        const char16_t a = text[at + i].unicode();
        const char16_t b = word[i].unicode();
        if (a == b)
            continue;
        if (a < 0x80 && b < 0x80) {
            const char16_t lower = a | 0x20;
            if (lower >= u'a' && lower <= u'z' && lower == (b | 0x20))
                continue;
            return false;
        }
        if (QChar::toCaseFolded(char32_t(a)) != QChar::toCaseFolded(char32_t(b)))
            return false;
    }
    return true;
}

// The tags "<meta" ... ">" of a page in order: a "<meta" that a letter, digit or underscore
// follows opens no tag, and a tag ends at the first ">" (none after it: no more tags).
class MetaTags {
public:
    explicit MetaTags(QStringView page) : m_page(page) {}

    std::optional<QStringView> next()
    {
        while (m_at < m_page.size()) {
            const qsizetype open = m_page.indexOf(u'<', m_at);
            if (open < 0)
                break;
            if (!holdsAt(m_page, open + 1, u"meta")) {
                m_at = open + 1;
                continue;
            }
            const qsizetype after = open + 5;
            if (!endsWord(m_page, after)) {
                m_at = open + 1;
                continue;
            }
            const qsizetype close = m_page.indexOf(u'>', after);
            if (close < 0)
                break;
            m_at = close + 1;
            return m_page.sliced(open, close + 1 - open);
        }
        m_at = m_page.size();
        return std::nullopt;
    }

private:
    QStringView m_page;
    qsizetype m_at = 0;
};

std::optional<QString> attributeIn(QStringView name, QStringView tag)
{
    if (name.isEmpty())
        return std::nullopt;
    // A quote with no match after it closes no value; known once, so that a tag full of unclosed
    // quotes is not searched to its end for each of them.
    const qsizetype lastDouble = tag.lastIndexOf(u'"');
    const qsizetype lastSingle = tag.lastIndexOf(u'\'');
    for (qsizetype at = 0; at + name.size() <= tag.size(); ++at) {
        if (!holdsAt(tag, at, name) || !startsWord(tag, at))
            continue;
        qsizetype i = at + name.size();
        while (i < tag.size() && isSpace(tag[i]))
            ++i;
        if (i == tag.size() || tag[i] != u'=')
            continue;
        ++i;
        while (i < tag.size() && isSpace(tag[i]))
            ++i;
        if (i == tag.size())
            continue;
        const QChar quote = tag[i];
        if (quote != u'"' && quote != u'\'')
            continue;
        if (i >= (quote == u'"' ? lastDouble : lastSingle))
            continue;
        const qsizetype end = tag.indexOf(quote, i + 1);
        return tag.sliced(i + 1, end - i - 1).toString();
    }
    return std::nullopt;
}

// The key of a meta tag and its value, when the tag has both.
struct MetaEntry {
    QString key;   // lower case
    QString value;   // cleaned; may be empty
};

std::optional<MetaEntry> metaEntry(QStringView tag)
{
    auto key = attributeIn(u"property", tag);
    if (!key)
        key = attributeIn(u"name", tag);
    if (!key)
        return std::nullopt;
    const auto content = attributeIn(u"content", tag);
    if (!content)
        return std::nullopt;
    return MetaEntry{text::lowercased(*key), clean(*content)};
}

// The first usable value of each of the wanted keys, found in one pass over the page.
template <std::size_t N>
std::array<std::optional<QString>, N> metas(const std::array<QStringView, N> &wanted, QStringView page)
{
    std::array<std::optional<QString>, N> found;
    std::size_t missing = N;
    MetaTags tags(page);
    while (missing > 0) {
        const std::optional<QStringView> tag = tags.next();
        if (!tag)
            break;
        const std::optional<MetaEntry> entry = metaEntry(*tag);
        if (!entry || entry->value.isEmpty())
            continue;
        for (std::size_t i = 0; i < N; ++i) {
            if (!found[i] && text::canonicallyEqual(entry->key, wanted[i])) {
                found[i] = entry->value;
                --missing;
            }
        }
    }
    return found;
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

std::optional<QString> attribute(QStringView name, const QString &tag) { return attributeIn(name, tag); }

std::optional<QString> meta(QStringView wanted, const QString &page)
{
    return metas(std::array<QStringView, 1>{wanted}, page)[0];
}

std::optional<QString> elementText(QStringView name, const QString &page)
{
    // The first opening tag "<name..." and its first ">", then the text up to the first closing
    // tag after it; without either, there is no element at all (a later opening tag has no
    // closing tag after it either).
    const QString opening = u'<' + name.toString();
    const qsizetype open = page.indexOf(opening, 0, Qt::CaseInsensitive);
    if (open < 0)
        return std::nullopt;
    const qsizetype close = page.indexOf(u'>', open + opening.size());
    if (close < 0)
        return std::nullopt;
    const QString closing = QStringLiteral("</") + name.toString() + u'>';
    const qsizetype end = page.indexOf(closing, close + 1, Qt::CaseInsensitive);
    if (end < 0)
        return std::nullopt;
    QString inner = clean(page.sliced(close + 1, end - close - 1));
    if (inner.isEmpty())
        return std::nullopt;
    return inner;
}

Post post(const QString &page, const PostLink &link, Date fetchedAt)
{
    const Url address = link.url();
    const QString host = hostText(address);

    // Every key the post needs, in one pass over the page's meta tags.
    const auto [graphTitle, graphDescription, plainDescription, graphSiteName, graphImage] = metas(
        std::array<QStringView, 5>{u"og:title", u"og:description", u"description", u"og:site_name", u"og:image"}, page);
    QString title = graphTitle.value_or(QString());
    if (title.isEmpty())
        title = elementText(u"title", page).value_or(host);
    const std::optional<QString> description = graphDescription ? graphDescription : plainDescription;
    const QString siteName = graphSiteName.value_or(host);
    std::optional<Url> picture;
    if (graphImage)
        picture = Url::parse(*graphImage);

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
