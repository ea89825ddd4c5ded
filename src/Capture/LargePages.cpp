#include "Capture/LargePages.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

#include <unistd.h>

namespace sw::LargePages {

namespace {

constexpr std::string_view kVariable = "GLIBC_TUNABLES";
constexpr std::string_view kTunable = "glibc.malloc.hugetlb";
// 1: the allocator asks for large pages (madvise) for what it takes from the system.
constexpr std::string_view kOnRequest = "glibc.malloc.hugetlb=1";
constexpr const char *kSetting = "/sys/kernel/mm/transparent_hugepage/enabled";

bool names(std::string_view tunables, std::string_view name)
{
    while (!tunables.empty()) {
        const std::size_t end = tunables.find(':');
        const std::string_view entry = tunables.substr(0, end);
        if (entry.substr(0, entry.find('=')) == name)
            return true;
        if (end == std::string_view::npos)
            break;
        tunables.remove_prefix(end + 1);
    }
    return false;
}

}  // namespace

Offer offerOf(std::string_view setting)
{
    // The chosen mode is the one in brackets.
    const std::size_t open = setting.find('[');
    const std::size_t close = setting.find(']', open);
    if (open == std::string_view::npos || close == std::string_view::npos)
        return Offer::unknown;
    const std::string_view mode = setting.substr(open + 1, close - open - 1);
    if (mode == "always")
        return Offer::always;
    if (mode == "madvise")
        return Offer::onRequest;
    if (mode == "never")
        return Offer::never;
    return Offer::unknown;
}

std::optional<std::string> tunablesFor(std::optional<std::string_view> current, Offer offer)
{
    if (offer != Offer::onRequest)
        return std::nullopt;
    if (!current || current->empty())
        return std::string(kOnRequest);
    if (names(*current, kTunable))
        return std::nullopt;
    return std::string(*current) + ':' + std::string(kOnRequest);
}

void startOnLargePages(char **argv)
{
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 35))
    std::ifstream file(kSetting);
    const std::string setting((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const char *current = std::getenv(kVariable.data());
    const std::optional<std::string> tunables =
        tunablesFor(current ? std::optional<std::string_view>(current) : std::nullopt, offerOf(setting));
    if (!tunables || !argv || !argv[0])
        return;
    const std::optional<std::string> before = current ? std::optional<std::string>(current) : std::nullopt;
    if (setenv(kVariable.data(), tunables->c_str(), 1) != 0)
        return;
    execv("/proc/self/exe", argv);
    // Not started again (no /proc, say): on as before.
    if (before)
        setenv(kVariable.data(), before->c_str(), 1);
    else
        unsetenv(kVariable.data());
#else
    (void)argv;
#endif
}

}  // namespace sw::LargePages
