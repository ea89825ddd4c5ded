#include "Offline/DownloadRefusal.h"

namespace sw {

std::size_t qHash(const DownloadRefusal &refusal, std::size_t seed) noexcept
{
    seed = ::qHash(refusal.value().index(), seed);
    if (const auto *over = refusal.asOverBudget())
        return qHashMulti(seed, over->needs, over->free);
    return seed;
}

}  // namespace sw
