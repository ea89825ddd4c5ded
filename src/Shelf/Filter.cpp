#include "Shelf/Filter.h"

#include <type_traits>

namespace sw {

std::size_t qHash(const Filter &filter, std::size_t seed) noexcept
{
    seed = qHashMulti(seed, filter.index());
    return std::visit(
        [seed](const auto &c) -> std::size_t {
            using C = std::decay_t<decltype(c)>;
            if constexpr (std::is_same_v<C, Filter::InCollection>)
                return qHash(c.id, seed);
            else if constexpr (std::is_same_v<C, Filter::OfKind>)
                return qHash(c.kind, seed);
            else if constexpr (std::is_same_v<C, Filter::FromSource>)
                return qHash(c.source, seed);
            else if constexpr (std::is_same_v<C, Filter::ByAuthor>)
                return qHash(c.handle, seed);
            else
                return seed;
        },
        filter.value());
}

}  // namespace sw
