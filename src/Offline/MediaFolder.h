#pragma once

// The folder of downloaded media and the names of the files in it. Every file lies directly in
// the folder under a name made from its post's link, so the same post always maps to the same
// files. Cover pictures are named by the same stem.

#include "Offline/LocalFile.h"
#include "Capture/Post.h"
#include "Capture/PostLink.h"
#include "Capture/Url.h"

#include <QHashFunctions>
#include <QList>
#include <QSet>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <optional>

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
    // Then control characters (text::isControl) are dropped and every "/", ":" and "\" becomes "-".
    static QString stem(const PostLink &link);
    // A quick test of many links against a few stems: mayHave(link) is false only when stem(link)
    // is none of the stems. It is worked out without building the stem for the usual X link, and
    // without the hash of the whole address for a web link with a query.
    class StemFilter {
    public:
        explicit StemFilter(const QList<QString> &stems);
        bool mayHave(const PostLink &link) const { return mayHave(link, link.key()); }
        // The same with the link's key at hand: an X link whose key is exact is answered from
        // its status number alone, without reading the link's texts.
        bool mayHave(const PostLink &link, LinkKey key) const;

    private:
        QSet<std::uint64_t> m_hashes;    // of each stem, and of each stem less a query mark
        QSet<std::uint64_t> m_statuses;  // the numbers that end the stems, after their last "_"
    };

    // The file name of attachment `index` of the post: the stem, "_" and index + 1 for every
    // attachment but the first, ".", and the extension of the attachment's case. `index` must lie
    // within the post's attachments (std::out_of_range otherwise).
    static QString fileName(const Post &post, std::size_t index);

    // The file's address: the root with the name appended as a path.
    Url url(const LocalFile &file) const;

    // A download lives under a name of the program's own until the document that names the file
    // is on disk, and only then takes its final name: a process ended in between leaves a file
    // that the next start can tell from the user's own. Every name the program writes into the
    // folder other than final names starts with ownPrefix (a file written under a pending name
    // may pass through "<pending name>.XXXXXX" first); the user's files are never expected to.
    static constexpr QStringView ownPrefix = u".stashwell-";
    static constexpr QStringView pendingPrefix = u".stashwell-pending.";
    // The name under which a download of the file `name` is written: pendingPrefix and the name.
    static QString pendingName(const QString &name);
    // The final name that a pending name stands for; none for any other name, and for a pending
    // name whose rest is no safe file name.
    static std::optional<QString> finalName(const QString &pendingName);
    // Whether the name is one the program writes and no final name.
    static bool isOwnTemporary(const QString &name) { return name.startsWith(ownPrefix); }
    // The address of the file's pending name.
    Url pendingUrl(const LocalFile &file) const;

    friend bool operator==(const MediaFolder &, const MediaFolder &) = default;

private:
    Url m_root;
};
inline std::size_t qHash(const MediaFolder &folder, std::size_t seed = 0) noexcept { return qHash(folder.root(), seed); }

}  // namespace sw
