// The link reader. A link read from any text: its own address reads back as the same link, a web
// link is already clean, its JSON form reads back as it, and every name made from it (media
// files, cover) is a plain name that the stem filter recognises.

#include "Fuzz.h"

#include "Capture/PostLink.h"
#include "Capture/Post.h"
#include "Offline/MediaFolder.h"
#include "Offline/Covers.h"

using namespace sw;

namespace {

QString shown(const PostLink &link)
{
    if (const PostLink::X *x = link.asX())
        return QStringLiteral("x %1 %2").arg(x->handle.name, x->status.digits).toUtf8().toPercentEncoding(" /:@");
    return QStringLiteral("web ") + link.asWeb()->url.text();
}

void namesArePlain(const PostLink &link)
{
    const QString stem = MediaFolder::stem(link);
    sw::fuzz::check(MediaFolder::StemFilter({stem}).mayHave(link), "the stem filter holds a link's own stem", shown(link));
    Post post;
    post.link = link;
    const Url somewhere = *Url::parse(QStringLiteral("https://media.example.com/a.jpg"));
    post.attachments = {Attachment(Attachment::Video{somewhere, Duration(), 1, std::nullopt}),
                        Attachment(Attachment::Image{somewhere, 1}), Attachment(Attachment::Page{link.url(), 1})};
    for (std::size_t i = 0; i < post.attachments.size(); ++i)
        sw::fuzz::checkPlainName(MediaFolder::fileName(post, i), "a media file name is a plain name");
    post.preview = somewhere;
    sw::fuzz::checkPlainName(*Covers::fileName(post), "a cover's name is a plain name");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const auto read = PostLink::reading(sw::fuzz::textOf(data, size));
    if (!read) {
        sw::fuzz::wasRefused();
        return 0;
    }
    sw::fuzz::wasRead();
    const PostLink &link = *read;
    const Url address = link.url();

    // An X link whose handle is empty has an address whose first segment is empty, which the
    // reader skips: that address names no status.
    const bool emptyHandle = link.asX() && link.asX()->handle.name.isEmpty();
    if (!emptyHandle) {
        const auto again = PostLink::reading(address.text());
        sw::fuzz::check(again.has_value(), "a link's own address reads as a link", shown(link));
        sw::fuzz::check(*again == link && again->source() == link.source(), "a link's own address reads as the same link",
                        shown(link) + QStringLiteral(" -> ") + shown(*again));
        // A handle's leading "@" is read as no part of it, so only a web address is its own.
        if (link.asWeb())
            sw::fuzz::check(again->url() == address, "a web link's address reads as itself", shown(link));
    }
    if (const PostLink::Web *web = link.asWeb())
        sw::fuzz::check(PostLink::cleanedWebLink(web->url) == web->url, "a web link read is clean", shown(link));

    std::string written;
    link.writeJson(written);
    sw::fuzz::check(written == link.toJson().toJson(), "a link writes one text either way", shown(link));
    try {
        const JsonDocument document(written);
        const PostLink back = PostLink::fromJson(document.root());
        sw::fuzz::check(back == link && back.url() == address, "a link's JSON form reads back as it", shown(link));
    } catch (const JsonError &error) {
        sw::fuzz::fail("a link's JSON form reads back", error.message() + u' ' + shown(link));
    }

    namesArePlain(link);
    return 0;
}
