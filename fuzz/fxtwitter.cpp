// The FxTwitter reply. A reply that maps to a post gives a post of the status asked for, whose
// JSON form reads back as it and whose media and cover names are plain names.

#include "Fuzz.h"

#include "Offline/MediaFolder.h"
#include "Offline/Covers.h"
#include "StashKit/FxTwitter.h"

using namespace sw;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const StatusID asked{QStringLiteral("1790000000000000000")};
    const auto post = FxTwitter::post(QByteArrayView(data, qsizetype(size)), asked);
    if (!post) {
        sw::fuzz::wasRefused();
        return 0;
    }
    sw::fuzz::wasRead();
    sw::fuzz::check(post->link.isX() && post->link.asX()->status.digits == asked.digits, "the post is the status asked for");

    std::string written;
    post->writeJson(written);
    sw::fuzz::check(written == post->toJson().toJson(), "a post writes one text either way");
    try {
        const JsonDocument document(written);
        sw::fuzz::check(Post::fromJson(document.root()) == *post, "a post's JSON form reads back as it");
    } catch (const JsonError &error) {
        sw::fuzz::fail("a post's JSON form reads back", error.message());
    }

    for (std::size_t i = 0; i < post->attachments.size(); ++i)
        sw::fuzz::checkPlainName(MediaFolder::fileName(*post, i), "a media file name is a plain name");
    if (const auto cover = Covers::fileName(*post))
        sw::fuzz::checkPlainName(*cover, "a cover's name is a plain name");
    return 0;
}
