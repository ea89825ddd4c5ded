#include "MediaFolder.h"

#include "Text.h"

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
    for (QChar &c : stem) {
        if (c == u'/' || c == u':' || c == u'\\')
            c = u'-';
    }
    return stem;
}

namespace {
// FNV-1a over UTF-16 code units.
constexpr std::uint64_t kFnvOffset = 14695981039346656037ull;
constexpr std::uint64_t kFnvPrime = 1099511628211ull;
inline std::uint64_t mix(std::uint64_t hash, char16_t c) { return (hash ^ c) * kFnvPrime; }
// What stem() makes of each character.
inline char16_t stemChar(char16_t c) { return (c == u'/' || c == u':' || c == u'\\') ? u'-' : c; }
}  // namespace

std::uint64_t MediaFolder::stemHash(QStringView stem)
{
    std::uint64_t hash = kFnvOffset;
    for (QChar c : stem)
        hash = mix(hash, c.unicode());
    return hash;
}

std::uint64_t MediaFolder::stemHash(const PostLink &link)
{
    if (const PostLink::X *x = link.asX()) {
        const QString &handle = x->handle.name;
        if (std::all_of(handle.cbegin(), handle.cend(), [](QChar c) { return c.unicode() < 0x80; })) {
            std::uint64_t hash = kFnvOffset;
            for (QChar c : handle) {
                const char16_t u = c.unicode();
                hash = mix(hash, stemChar(u >= u'A' && u <= u'Z' ? char16_t(u + 32) : u));
            }
            hash = mix(hash, u'_');
            for (QChar c : x->status.digits)
                hash = mix(hash, stemChar(c.unicode()));
            return hash;
        }
    }
    return stemHash(stem(link));
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

}  // namespace sw
