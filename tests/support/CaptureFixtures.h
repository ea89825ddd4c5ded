#pragma once

// The builders every model test needs: addresses that must parse, links of both sources, fixed
// identifiers that expectations can name, and posts.

#include "Capture/Date.h"
#include "Capture/Post.h"
#include "Capture/PostLink.h"
#include "Capture/Url.h"

#include <QString>
#include <QUuid>
#include <QtGlobal>

#include <optional>
#include <utility>
#include <vector>

namespace sw::fixtures {

inline Url url(const QString &text)
{
    const std::optional<Url> parsed = Url::parse(text);
    if (!parsed)
        qFatal("test URL does not parse: %s", qPrintable(text));
    return *parsed;
}

inline PostLink xLink(const QString &handle = QStringLiteral("someone"), const QString &digits = QStringLiteral("1"))
{
    return PostLink::x(Handle{handle}, StatusID{digits});
}

inline PostLink webLink(const QString &text = QStringLiteral("https://news.example.com/story"))
{
    return PostLink::web(url(text));
}

// The UUID whose last group is n in decimal digits.
inline QUuid fixedUuid(int n)
{
    return QUuid(QStringLiteral("00000000-0000-4000-8000-%1").arg(n, 12, 10, QLatin1Char('0')));
}

// What a post is made of besides its link. Unset fields keep the defaults: "Someone" wrote "text"
// at a fixed moment; the handle is the X link's, or `webHandle` for a web page.
struct PostSpec {
    std::vector<Attachment> attachments = {};
    QString text = QStringLiteral("text");
    std::optional<QString> preview = std::nullopt;
    QString authorName = QStringLiteral("Someone");
    std::optional<QString> handle = std::nullopt;   // the same handle whatever the link
    QString webHandle = QStringLiteral("web");
    double postedAt = 700000000;
};

inline Post makePost(PostLink link, PostSpec spec = {})
{
    Post p;
    const QString handle = spec.handle ? *spec.handle : link.asX() ? link.asX()->handle.name : spec.webHandle;
    p.author = Author{spec.authorName, Handle{handle}, std::nullopt};
    p.link = std::move(link);
    p.text = spec.text;
    p.postedAt = Date{spec.postedAt};
    p.attachments = std::move(spec.attachments);
    if (spec.preview)
        p.preview = url(*spec.preview);
    return p;
}

// A post on X by @handle, written by `authorName`, early on the reference clock.
inline Post postOnX(const QString &handle, const QString &digits, const QString &text = QStringLiteral("A post"),
                  const QString &authorName = QStringLiteral("Author"))
{
    return makePost(xLink(handle, digits), {.text = text, .authorName = authorName, .postedAt = 100});
}

// A web page at `address`, its site as author and handle, early on the reference clock.
inline Post pageAt(const QString &address, const QString &text = QStringLiteral("A page"),
                    const QString &site = QStringLiteral("example.com"))
{
    return makePost(webLink(address), {.text = text, .authorName = site, .webHandle = site, .postedAt = 100});
}

}  // namespace sw::fixtures
