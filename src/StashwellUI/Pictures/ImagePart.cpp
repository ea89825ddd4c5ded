#include "StashwellUI/Pictures/ImagePart.h"

namespace sw {

QImage imagePart(const QImage &image, const QRect &part)
{
    const QRect inside = part & image.rect();
    if (inside == image.rect())
        return image;
    const int depth = image.depth();
    if (inside.isEmpty() || depth < 8 || depth % 8 != 0)
        return image.copy(inside);
    const uchar *first = image.constBits() + qsizetype(inside.y()) * image.bytesPerLine() + qsizetype(inside.x()) * (depth / 8);
    // The const constructor: the view never writes, and writing through it would detach.
    QImage view(first, inside.width(), inside.height(), image.bytesPerLine(), image.format());
    if (image.format() == QImage::Format_Indexed8)
        view.setColorTable(image.colorTable());
    view.setDevicePixelRatio(image.devicePixelRatio());
    return view;
}

}  // namespace sw
