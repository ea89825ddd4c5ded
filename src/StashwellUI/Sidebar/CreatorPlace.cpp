#include "StashwellUI/Sidebar/CreatorPlace.h"

#include <QHashFunctions>

namespace sw {

std::optional<Collection::ID> CreatorPlace::editedCollection() const
{
    if (const Editing *editing = std::get_if<Editing>(&m_value))
        return editing->collection;
    return std::nullopt;
}

std::size_t qHash(const CreatorPlace &place, std::size_t seed) noexcept
{
    if (const std::optional<Collection::ID> edited = place.editedCollection())
        return qHashMulti(seed, 1, *edited);
    return qHashMulti(seed, 0);
}

}  // namespace sw
