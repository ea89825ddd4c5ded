#include "Offline/MediaFolder.h"

#include "Capture/Text.h"

#include <QCryptographicHash>
#include <QStringList>
#include <QUrl>

#include <algorithm>

namespace sw {

namespace {
// 8 hex digits of a hash of the URL's full text: the same on every run and every machine.
QString queryMark(const Url &url)
{
    const QByteArray digest = QCryptographicHash::hash(url.text().toUtf8(), QCryptographicHash::Sha256);
    return QString::fromLatin1(digest.left(4).toHex());
}
}  // namespace

QString MediaFolder::stem(const PostLink &link)
{
    QString stem;
    if (const PostLink::X *x = link.asX()) {
        const QString &handle = x->handle.name;
        const bool ascii = std::all_of(handle.cbegin(), handle.cend(), [](QChar c) { return c.unicode() < 0x80; });
        if (ascii) {
            // The usual handle: lowercased as it is copied, in one allocation (covers ask for the
            // stem of every save when the trash is emptied).
            stem.reserve(handle.size() + 1 + x->status.digits.size());
            for (QChar c : handle)
                if (!text::isControl(c.unicode()))
                    stem.append(c >= u'A' && c <= u'Z' ? QChar(c.unicode() + 32) : c);
        } else {
            stem = text::lowercased(handle);
        }
        stem += u'_';
        stem += x->status.digits;
    } else {
        const Url &url = link.asWeb()->url;
        const QString host = url.host().value_or(QStringLiteral("page"));
        const QString path = url.pathSegments().join(u'-');
        stem = host;
        if (!path.isEmpty()) {
            if (!stem.isEmpty())
                stem += u'_';
            stem += path;
        }
        // Links that differ only in their query would otherwise share files; a fragment never
        // takes part (saved web links carry none).
        if (url.query()) {
            if (!stem.isEmpty())
                stem += u'_';
            stem += queryMark(url);
        }
    }
    // A handle or a link may carry control characters (a reply's screen name, a "%00" in a path):
    // they never reach a file name.
    stem.removeIf([](QChar c) { return text::isControl(c.unicode()); });
    for (QChar &c : stem) {
        if (c == u'/' || c == u':' || c == u'\\')
            c = u'-';
    }
    return stem;
}

namespace {
// FNV-1a over UTF-16 code units, of the stem's characters as stem() leaves them.
constexpr std::uint64_t kFnvOffset = 14695981039346656037ull;
constexpr std::uint64_t kFnvPrime = 1099511628211ull;
inline std::uint64_t mix(std::uint64_t hash, char16_t c)
{
    if (text::isControl(c))
        return hash;
    if (c == u'/' || c == u':' || c == u'\\')
        c = u'-';
    return (hash ^ c) * kFnvPrime;
}
std::uint64_t hashOf(QStringView text, std::uint64_t hash = kFnvOffset)
{
    for (QChar c : text)
        hash = mix(hash, c.unicode());
    return hash;
}
bool isAscii(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}
// "_" and the 8 lowercase hex digits of a query mark.
bool endsWithQueryMark(QStringView stem)
{
    if (stem.size() < 9 || stem.at(stem.size() - 9) != u'_')
        return false;
    return std::all_of(stem.end() - 8, stem.end(), [](QChar c) {
        return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f');
    });
}
}  // namespace

MediaFolder::StemFilter::StemFilter(const QList<QString> &stems)
{
    for (const QString &stem : stems) {
        m_hashes.insert(hashOf(stem));
        if (endsWithQueryMark(stem))
            m_hashes.insert(hashOf(QStringView(stem).chopped(9)));
        // An X stem ends with "_" and the status digits, which hold no "_".
        const QStringView last = QStringView(stem).sliced(stem.lastIndexOf(u'_') + 1);
        if (const LinkKey key = PostLink::x(Handle{}, StatusID{last.toString()}).key(); key.exact)
            m_statuses.insert(key.value);
    }
}

bool MediaFolder::StemFilter::mayHave(const PostLink &link, LinkKey key) const
{
    if (const PostLink::X *x = link.asX()) {
        // An exact key is the status number, whose digits end the stem.
        if (key.exact && !m_statuses.contains(key.value))
            return false;
        const QString &handle = x->handle.name;
        if (!isAscii(handle))
            return m_hashes.contains(hashOf(stem(link)));
        std::uint64_t hash = kFnvOffset;
        for (QChar c : handle) {
            const char16_t u = c.unicode();
            hash = mix(hash, u >= u'A' && u <= u'Z' ? char16_t(u + 32) : u);
        }
        hash = mix(hash, u'_');
        return m_hashes.contains(hashOf(x->status.digits, hash));
    }
    // A web link: the host and the path's segments, as stem() joins them; when the address has
    // a query, what precedes its mark (the filter holds each stem less its mark too).
    const Url &url = link.asWeb()->url;
    const std::optional<QString> host = url.host();
    if (!host || host->isEmpty())
        return m_hashes.contains(hashOf(stem(link)));
    std::uint64_t hash = hashOf(*host);
    const QString path = url.path();
    bool first = true;
    for (const QStringView segment : QStringView(path).tokenize(u'/', Qt::SkipEmptyParts)) {
        hash = mix(hash, first ? u'_' : u'-');
        first = false;
        if (isAscii(segment) && !segment.contains(u'%'))
            hash = hashOf(segment, hash);
        else
            hash = hashOf(QUrl::fromPercentEncoding(segment.toUtf8()), hash);
    }
    return m_hashes.contains(hash);
}

QString MediaFolder::fileName(const Post &post, std::size_t index)
{
    const Attachment &attachment = post.attachments.at(index);
    QString name = stem(post.link);
    if (index > 0)
        name += u'_' + QString::number(index + 1);
    return name + u'.' + attachment.fileExtension();
}

Url MediaFolder::url(const LocalFile &file) const
{
    QUrl url = m_root.qurl();
    QString path = url.path(QUrl::FullyDecoded);
    if (!path.endsWith(u'/'))
        path += u'/';
    path += file.name;
    url.setPath(path, QUrl::DecodedMode);
    return Url::fromQUrl(url);
}

QString MediaFolder::pendingName(const QString &name)
{
    return pendingPrefix.toString() + name;
}

std::optional<QString> MediaFolder::finalName(const QString &pendingName)
{
    if (!pendingName.startsWith(pendingPrefix))
        return std::nullopt;
    QString name = pendingName.sliced(pendingPrefix.size());
    if (!LocalFile::isSafeName(name))
        return std::nullopt;
    return name;
}

Url MediaFolder::pendingUrl(const LocalFile &file) const
{
    return url(LocalFile{pendingName(file.name), file.bytes});
}

}  // namespace sw
