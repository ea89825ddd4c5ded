#pragma once

// The covers folder and the cover files known to be in it. A cover is the post's preview
// picture kept as a local file; its name is made from the post's link alone, so it never has to
// be stored, and the names present are learnt again from the folder.

#include "Capture/Post.h"
#include "Capture/Url.h"

#include <QHashFunctions>
#include <QSet>
#include <QString>

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <string_view>

namespace sw {

class Covers {
public:
    // The picture extensions a cover keeps; any other takes the fallback.
    static constexpr std::array<std::u16string_view, 5> pictureExtensions{u"jpg", u"jpeg", u"png", u"gif", u"webp"};
    static constexpr std::u16string_view fallbackExtension = u"jpg";

    Covers();
    explicit Covers(Url root);

    const Url &root() const { return m_root; }
    // The file names, inside root, of the covers known to exist.
    const QSet<QString> &present() const { return m_present; }
    void setPresent(QSet<QString> names) { m_present = std::move(names); }
    void insert(const QString &name) { m_present.insert(name); }
    void remove(const QString &name) { m_present.remove(name); }

    // The cover's file name: the media stem of the post's link (two web links that differ in
    // their query get different stems), ".", and the preview's extension lowercased when it is a
    // picture extension, else "jpg". None when the post has no preview.
    static std::optional<QString> fileName(const Post &post);
    // The file in the covers folder.
    Url url(const QString &name) const;
    // Whether the post's cover file is known to exist.
    bool isKept(const Post &post) const;
    // The same without keeping the name worked out: for a walk over every save, whose names the
    // shelf, which asks for the few it shows again and again, would otherwise keep all of (some
    // megabytes for a large library).
    bool isKeptPassingBy(const Post &post) const;
    // The kept cover file when there is one, else the post's (remote) preview, else none.
    std::optional<Url> picture(const Post &post) const;

    // The root and the names present.
    friend bool operator==(const Covers &a, const Covers &b) { return a.m_root == b.m_root && a.m_present == b.m_present; }

private:
    // The shelf asks for every save's cover on every read, and a name takes some text work (a
    // hash of the whole address for a web link with a query). Names already made are kept here,
    // shared by the copies of this value; they are no part of its value.
    class NameCache;
    std::optional<QString> cachedFileName(const Post &post) const;
    // Whether a cover of that name is in the folder.
    bool isPresent(const std::optional<QString> &name) const;

    Url m_root;
    QSet<QString> m_present;
    std::shared_ptr<NameCache> m_names;
};

std::size_t qHash(const Covers &covers, std::size_t seed = 0) noexcept;

}  // namespace sw
