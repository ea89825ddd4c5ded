#pragma once

// The folder of downloaded media and the names of the files in it. Every file lies directly in
// the folder under a name made from its post's link, so the same post always maps to the same
// files. Cover pictures are named by the same stem.

#include "LocalFile.h"
#include "Post.h"
#include "PostLink.h"
#include "Url.h"

#include <QHashFunctions>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace sw {

class MediaFolder {
public:
    MediaFolder() = default;
    explicit MediaFolder(Url root) : m_root(std::move(root)) {}

    const Url &root() const { return m_root; }

    // The stem of every file name that belongs to a link:
    // - an X link: the handle lowercased, "_", the status digits;
    // - a web link: the host as written (percent-encoded; "page" when there is none) and the
    //   decoded path segments joined by "-", the non-empty parts joined by "_"; when the URL has
    //   a query, "_" and 8 hex digits of a hash of the URL's full text follow, so that two links
    //   that differ only in their query never share files.
    // Then every "/", ":" and "\" becomes "-".
    static QString stem(const PostLink &link);
    // A hash of stem(link) (that of the text, stemHash(QStringView)), worked out for the usual X
    // link without building the stem: for telling quickly which of many links cannot have a
    // given stem.
    static std::uint64_t stemHash(const PostLink &link);
    static std::uint64_t stemHash(QStringView stem);

    // The file name of attachment `index` of the post: the stem, "_" and index + 1 for every
    // attachment but the first, ".", and the extension of the attachment's case. `index` must lie
    // within the post's attachments (std::out_of_range otherwise).
    static QString fileName(const Post &post, std::size_t index);

    // The file's address: the root with the name appended as a path.
    Url url(const LocalFile &file) const;

    friend bool operator==(const MediaFolder &, const MediaFolder &) = default;

private:
    Url m_root;
};
inline std::size_t qHash(const MediaFolder &folder, std::size_t seed = 0) noexcept { return qHash(folder.root(), seed); }

}  // namespace sw
