// The page reader. The input's first line is the address pasted, the rest the page fetched for
// it. The post made is of that link, its JSON form reads back as it, and its names are plain.

#include "Fuzz.h"

#include "Offline/MediaFolder.h"
#include "Offline/Covers.h"
#include "StashKit/PageReader.h"

using namespace sw;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString input = sw::fuzz::textOf(data, size);
    const qsizetype newline = input.indexOf(u'\n');
    const auto read = PostLink::reading(newline < 0 ? input : input.left(newline));
    const PostLink link = read ? *read : PostLink::web(*Url::parse(QStringLiteral("https://example.org/page")));
    const QString page = newline < 0 ? QString() : input.mid(newline + 1);
    sw::fuzz::wasRead();

    const Post post = PageReader::post(page, link, Date{760000000});
    sw::fuzz::check(post.link == link, "the post is of the link asked for");

    std::string written;
    post.writeJson(written);
    sw::fuzz::check(written == post.toJson().toJson(), "a post writes one text either way");
    try {
        const JsonDocument document(written);
        sw::fuzz::check(Post::fromJson(document.root()) == post, "a post's JSON form reads back as it");
    } catch (const JsonError &error) {
        sw::fuzz::fail("a post's JSON form reads back", error.message());
    }

    for (std::size_t i = 0; i < post.attachments.size(); ++i)
        sw::fuzz::checkPlainName(MediaFolder::fileName(post, i), "a media file name is a plain name");
    if (const auto cover = Covers::fileName(post))
        sw::fuzz::checkPlainName(*cover, "a cover's name is a plain name");
    return 0;
}
