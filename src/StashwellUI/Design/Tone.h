#pragma once

// The four colour roles a button can take.

#include <QColor>

#include <array>

namespace sw {

enum class Tone { accent, ok, neutral, danger };

inline constexpr std::array<Tone, 4> allTones{Tone::accent, Tone::ok, Tone::neutral, Tone::danger};

// The one colour a toned control draws its text, fill, border and bar from, in the current
// appearance. The accent tone draws with the accent ink, which reads on light and dark grounds,
// not with the accent fill colour.
QColor toneColor(Tone tone);

}  // namespace sw
