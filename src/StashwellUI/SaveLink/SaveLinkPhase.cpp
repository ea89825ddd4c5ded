#include "StashwellUI/SaveLink/SaveLinkPhase.h"

#include "Capture/Text.h"

namespace sw {

bool operator==(const SaveLinkPhase::Typing &a, const SaveLinkPhase::Typing &b)
{
    if (a.problem.has_value() != b.problem.has_value())
        return false;
    return !a.problem || text::canonicallyEqual(*a.problem, *b.problem);
}

std::optional<QString> SaveLinkPhase::problem() const
{
    if (const auto *typing = std::get_if<Typing>(&m_value))
        return typing->problem;
    return std::nullopt;
}

const Post *SaveLinkPhase::post() const
{
    if (const auto *found = std::get_if<Found>(&m_value))
        return &found->post;
    return nullptr;
}

}  // namespace sw
