#include "Covers.h"

#include "LocalFile.h"
#include "MediaFolder.h"

#include <algorithm>

namespace sw {

namespace {
// The extension of the URL's last path segment (decoded), without the dot; empty when the
// segment has none. A leading dot (".png") marks a hidden name, not an extension.
QString pathExtension(const Url &url)
{
    const QStringList segments = url.pathSegments();
    if (segments.isEmpty())
        return {};
    const QString &last = segments.constLast();
    const qsizetype dot = last.lastIndexOf(u'.');
    if (dot <= 0)
        return {};
    return last.mid(dot + 1);
}
}  // namespace

std::optional<QString> Covers::fileName(const Post &post)
{
    if (!post.preview)
        return std::nullopt;
    const QString extension = pathExtension(*post.preview).toLower();
    const bool known = std::ranges::any_of(pictureExtensions, [&extension](std::u16string_view e) {
        return QStringView(e) == extension;
    });
    return MediaFolder::stem(post.link) + u'.'
           + (known ? extension : QStringView(fallbackExtension).toString());
}

Url Covers::url(const QString &name) const
{
    // A cover lies in its folder as a media file lies in the media folder.
    return MediaFolder(m_root).url(LocalFile{name, 0});
}

bool Covers::isKept(const Post &post) const
{
    if (m_present.isEmpty() || !post.preview)
        return false;
    const auto name = fileName(post);
    return name && m_present.contains(*name);
}

std::optional<Url> Covers::picture(const Post &post) const
{
    if (!post.preview)
        return std::nullopt;
    if (!m_present.isEmpty()) {
        const auto name = fileName(post);
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
