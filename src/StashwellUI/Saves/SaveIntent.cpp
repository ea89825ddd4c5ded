#include "StashwellUI/Saves/SaveIntent.h"

#include <array>

namespace sw {

std::string_view SaveIntent::caseName() const
{
    static constexpr std::array<std::string_view, std::variant_size_v<Value>> names{
        "action", "file", "addTag", "removeTag", "note", "favourite", "trash", "close",
        "copyLink", "openOriginal", "reveal", "removeLocalCopy", "newCollection", "select", "preview"};
    return names[m_value.index()];
}

}  // namespace sw
