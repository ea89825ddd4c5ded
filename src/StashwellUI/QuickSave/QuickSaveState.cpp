#include "StashwellUI/QuickSave/QuickSaveState.h"

#include "Capture/Text.h"

namespace sw {

bool operator==(const QuickSaveState::Looking &a, const QuickSaveState::Looking &b)
{
    return text::canonicallyEqual(a.link, b.link);
}

bool operator==(const QuickSaveState::Refused &a, const QuickSaveState::Refused &b)
{
    return text::canonicallyEqual(a.message, b.message);
}

bool operator==(const QuickSaveState::Saved &a, const QuickSaveState::Saved &b)
{
    return text::canonicallyEqual(a.message, b.message);
}

const Post *QuickSaveState::post() const
{
    if (const auto *found = std::get_if<Found>(&m_value))
        return &found->post;
    return nullptr;
}

}  // namespace sw
