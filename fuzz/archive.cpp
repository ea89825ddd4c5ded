// The archive document. An archive that reads writes a document that reads back as the same
// archive and writes again byte for byte; every copy is found under its own link; every file name
// it lists, and every name made from its saves (media files, covers), is a plain name.

#include "Fuzz.h"

#include "Offline/MediaFolder.h"
#include "StashKit/Archive.h"
#include "Offline/Covers.h"

#include <optional>

using namespace sw;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::optional<Archive> archive;
    try {
        archive = Archive::fromJson(sw::fuzz::bytesOf(data, size));
    } catch (const JsonError &) {
        sw::fuzz::wasRefused();
        return 0;
    }
    sw::fuzz::wasRead();

    const std::string first = archive->json();
    std::optional<Archive> back;
    try {
        back = Archive::fromJson(first);
    } catch (const JsonError &error) {
        sw::fuzz::fail("a written archive reads back", error.message());
    }
    sw::fuzz::check(*back == *archive, "a written archive reads back as the same archive");
    sw::fuzz::check(back->json() == first, "an archive read back writes byte for byte as before");

    for (const auto &[link, copy] : archive->copies) {
        sw::fuzz::check(archive->copies.find(link) == &copy, "a copy is found under its own link", link.url().text());
        if (const auto *done = copy.asOnThisComputer())
            for (const LocalFile &file : done->files)
                sw::fuzz::checkPlainName(file.name, "a stored file name is a plain name");
    }
    for (const Save &save : archive->library.saves) {
        const Post &post = save.post();
        for (std::size_t i = 0; i < post.attachments.size(); ++i)
            sw::fuzz::checkPlainName(MediaFolder::fileName(post, i), "a media file name is a plain name");
        if (const auto cover = Covers::fileName(post))
            sw::fuzz::checkPlainName(*cover, "a cover's name is a plain name");
    }
    return 0;
}
