#pragma once

// A part of a picture to scale or draw from, without copying its pixels where that can be helped:
// a save's picture is often several times the size it is drawn at, and copying all of it for each
// card that comes into view cost more than scaling it down.

#include <QImage>
#include <QRect>

namespace sw {

// The pixels of `image` within `part` (clipped to the image), as an image of their own. For
// formats of whole bytes a pixel it reads `image`'s own memory (read only): it must not outlive
// `image`, nor be kept past a change of it. Other formats, and the whole image, are as
// QImage::copy and a shared copy give them.
QImage imagePart(const QImage &image, const QRect &part);

}  // namespace sw
