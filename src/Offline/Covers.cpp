#include "Offline/Covers.h"

#include "Offline/LocalFile.h"
#include "Offline/MediaFolder.h"

#include <QHash>
#include <QUrl>

#include <algorithm>
#include <mutex>

namespace sw {

namespace {
// The extension of the URL's last path segment (decoded), without the dot; empty when the
// segment has none. A leading dot (".png") marks a hidden name, not an extension.
QString pathExtension(const Url &url)
{
    // The last non-empty segment of the encoded path, decoded: the last of pathSegments(),
    // without decoding all the others.
    const QString path = url.path();
    QStringView rest(path);
    while (rest.endsWith(u'/'))
        rest.chop(1);
    const qsizetype slash = rest.lastIndexOf(u'/');
    const QStringView encoded = rest.sliced(slash + 1);
    if (encoded.isEmpty())
        return {};
    const QString last = encoded.contains(u'%') ? QUrl::fromPercentEncoding(encoded.toUtf8()) : encoded.toString();
    const qsizetype dot = last.lastIndexOf(u'.');
    if (dot <= 0)
        return {};
    return last.mid(dot + 1);
}
}  // namespace

namespace {
constexpr qsizetype kMaxCachedNames = 1 << 20;
}

class Covers::NameCache {
public:
    struct Entry {
        Url preview;
        QString name;
    };
    std::mutex mutex;
    QHash<PostLink, Entry> names;
};

Covers::Covers() : m_names(std::make_shared<NameCache>()) {}

Covers::Covers(Url root) : m_root(std::move(root)), m_names(std::make_shared<NameCache>()) {}

std::optional<QString> Covers::fileName(const Post &post)
{
    if (!post.preview)
        return std::nullopt;
    const QString extension = pathExtension(*post.preview).toLower();
    const bool known = std::ranges::any_of(pictureExtensions, [&extension](std::u16string_view e) {
        return QStringView(e) == extension;
    });
    QString name = MediaFolder::stem(post.link);
    name += u'.';
    name += known ? QStringView(extension) : QStringView(fallbackExtension);
    return name;
}

Url Covers::url(const QString &name) const
{
    // A cover lies in its folder as a media file lies in the media folder.
    return MediaFolder(m_root).url(LocalFile{name, 0});
}

std::optional<QString> Covers::cachedFileName(const Post &post) const
{
    if (!post.preview)
        return std::nullopt;
    {
        const std::lock_guard lock(m_names->mutex);
        const auto found = m_names->names.constFind(post.link);
        // Two X links of one status are one key, and the name takes the handle: a hit must
        // be the very same link as well as the same preview.
        if (found != m_names->names.cend() && found->preview == *post.preview && found.key().isX() == post.link.isX()
            && (!post.link.isX() || found.key().asX()->handle.name == post.link.asX()->handle.name))
            return found->name;
    }
    auto name = fileName(post);
    // The folder's own text of the name when it lists it: one copy of the text serves both
    // (a hundred thousand covers are some megabytes of names).
    if (const auto listed = m_present.constFind(*name); listed != m_present.cend())
        name = *listed;
    const std::lock_guard lock(m_names->mutex);
    // A bound, so that a session that sees ever new links does not grow the cache for ever.
    if (m_names->names.size() >= kMaxCachedNames)
        m_names->names.clear();
    m_names->names.remove(post.link);
    m_names->names.insert(post.link, NameCache::Entry{*post.preview, *name});
    return name;
}

bool Covers::isKept(const Post &post) const
{
    return !m_present.isEmpty() && post.preview && isPresent(cachedFileName(post));
}

bool Covers::isKeptPassingBy(const Post &post) const
{
    return !m_present.isEmpty() && post.preview && isPresent(fileName(post));
}

bool Covers::isPresent(const std::optional<QString> &name) const { return name && m_present.contains(*name); }

std::optional<Url> Covers::picture(const Post &post) const
{
    if (!post.preview)
        return std::nullopt;
    if (!m_present.isEmpty()) {
        const auto name = cachedFileName(post);
        if (name && m_present.contains(*name))
            return url(*name);
    }
    return post.preview;
}

std::size_t qHash(const Covers &covers, std::size_t seed) noexcept
{
    return qHashMulti(seed, covers.root(), covers.present());
}

}  // namespace sw
