#include "Offline/Download.h"

#include "Capture/Text.h"

namespace sw {

bool operator==(const Download &a, const Download &b)
{
    return a.link == b.link && a.attachment == b.attachment && text::canonicallyEqual(a.file, b.file);
}

std::size_t qHash(const Download &download, std::size_t seed) noexcept
{
    seed = qHashMulti(seed, download.link, download.attachment);
    return text::canonicalHash(download.file, seed);
}

}  // namespace sw
