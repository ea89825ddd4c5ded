#pragma once

// Small builders for the library tests: posts of each source and kind, and fixed identifiers.

#include "Library/Collection.h"
#include "Capture/Date.h"
#include "Library/Library.h"
#include "Capture/Post.h"
#include "Library/Save.h"

#include <QString>
#include <QUuid>

#include "CaptureFixtures.h"

namespace sw::fixtures {

// A fixed identifier: the UUID whose last group is n in decimal digits.
inline QUuid uuid(int n) { return fixedUuid(n); }
inline Save::ID saveId(int n) { return Save::ID(uuid(n)); }
inline Collection::ID collectionId(int n) { return Collection::ID(uuid(1000 + n)); }

inline Post xPost(const QString &handle, const QString &digits, const QString &text = QStringLiteral("A post"),
                  const QString &authorName = QStringLiteral("Author"))
{
    Post p;
    p.link = PostLink::x(Handle{handle}, StatusID{digits});
    p.author = Author{authorName, Handle{handle}, std::nullopt};
    p.text = text;
    p.postedAt = Date{100};
    return p;
}

inline Post webPost(const QString &address, const QString &text = QStringLiteral("A page"),
                    const QString &site = QStringLiteral("example.com"))
{
    Post p;
    p.link = PostLink::web(url(address));
    p.author = Author{site, Handle{site}, std::nullopt};
    p.text = text;
    p.postedAt = Date{100};
    return p;
}

inline Attachment video(int bytes = 800)
{
    return Attachment(Attachment::Video{url(QStringLiteral("https://video.example.com/v.mp4")),
                                        Duration::fromSeconds(12.5), bytes, std::nullopt});
}
inline Attachment image(int bytes = 100)
{
    return Attachment(Attachment::Image{url(QStringLiteral("https://pbs.example.com/p.jpg")), bytes});
}
inline Attachment page(int bytes = 50)
{
    return Attachment(Attachment::Page{url(QStringLiteral("https://example.com/a.html")), bytes});
}

// Keeps a post and returns the new save's id; fails the test loudly when keeping did not add.
inline Save::ID keepNew(Library &library, const Post &post, double at, int id,
                        std::optional<Collection::ID> in = std::nullopt)
{
    const auto result = library.keep(post, Date{at}, in, saveId(id));
    if (!std::holds_alternative<Library::Kept>(result))
        qFatal("fixture: keeping did not add a new save");
    return saveId(id);
}

// The ids of a list of saves, in order.
inline QList<Save::ID> idsOf(const QList<Save> &saves)
{
    QList<Save::ID> out;
    for (const Save &s : saves)
        out.append(s.id());
    return out;
}

}  // namespace sw::fixtures

namespace sw {
// Readable identifiers in failed comparisons.
template <typename Kind>
inline char *toString(const Identifier<Kind> &id)
{
    return qstrdup(id.text().toUtf8().constData());
}
}  // namespace sw
