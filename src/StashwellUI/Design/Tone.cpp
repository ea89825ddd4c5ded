#include "StashwellUI/Design/Tone.h"

#include "StashwellUI/Design/Tokens.h"

namespace sw {

QColor toneColor(Tone tone)
{
    switch (tone) {
    case Tone::accent: return Tokens::Colors::accentInk();
    case Tone::ok: return Tokens::Colors::ok();
    case Tone::neutral: return Tokens::Colors::textSecondary();
    case Tone::danger: return Tokens::Colors::danger();
    }
    return Tokens::Colors::accentInk();
}

}  // namespace sw
