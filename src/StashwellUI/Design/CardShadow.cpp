#include "StashwellUI/Design/CardShadow.h"
#include "StashwellUI/Design/RectWise.h"

#include "StashwellUI/Design/ContinuousShape.h"

#include <QCache>
#include <QPainter>
#include <QString>

#include <algorithm>
#include <cmath>
#include <vector>

namespace sw::CardShadow {

namespace {

// One pass of a box blur of `radius` pixels over the rows (or the columns) of an 8-bit alpha
// image: each pixel becomes the mean of the 2 * radius + 1 pixels of its line around it, those
// past the edge counting as clear. The columns are done a row at a time, a running sum for each:
// walking down one column at a time reads the image across its width for every pixel.
void boxPass(QImage &image, int radius, bool horizontal)
{
    if (radius < 1)
        return;
    const int width = image.width();
    const int height = image.height();
    const qsizetype stride = image.bytesPerLine();
    const int window = 2 * radius + 1;
    uchar *bits = image.bits();
    if (horizontal) {
        std::vector<int> source(static_cast<size_t>(width));
        for (int y = 0; y < height; ++y) {
            uchar *row = bits + y * stride;
            std::copy(row, row + width, source.begin());
            int sum = 0;
            for (int i = 0; i <= radius && i < width; ++i)
                sum += source[size_t(i)];
            for (int i = 0; i < width; ++i) {
                row[i] = uchar(sum / window);
                if (const int leaving = i - radius; leaving >= 0)
                    sum -= source[size_t(leaving)];
                if (const int entering = i + radius + 1; entering < width)
                    sum += source[size_t(entering)];
            }
        }
        return;
    }
    const QImage before = image.copy();
    const uchar *source = before.constBits();
    const qsizetype sourceStride = before.bytesPerLine();
    std::vector<int> sums(static_cast<size_t>(width), 0);
    for (int y = 0; y <= radius && y < height; ++y) {
        const uchar *row = source + y * sourceStride;
        for (int x = 0; x < width; ++x)
            sums[size_t(x)] += row[x];
    }
    for (int y = 0; y < height; ++y) {
        uchar *out = bits + y * stride;
        for (int x = 0; x < width; ++x)
            out[x] = uchar(sums[size_t(x)] / window);
        if (const int leaving = y - radius; leaving >= 0) {
            const uchar *row = source + leaving * sourceStride;
            for (int x = 0; x < width; ++x)
                sums[size_t(x)] -= row[x];
        }
        if (const int entering = y + radius + 1; entering < height) {
            const uchar *row = source + entering * sourceStride;
            for (int x = 0; x < width; ++x)
                sums[size_t(x)] += row[x];
        }
    }
}

// The parts of `whole` outside `hole`: the rows above and below it across the whole width, and
// the pieces left and right of it beside it. `whole` itself when the two do not meet.
std::vector<QRect> partsAround(const QRect &whole, const QRect &hole)
{
    const QRect inside = hole.intersected(whole);
    if (inside.isEmpty())
        return {whole};
    std::vector<QRect> parts{
        QRect(QPoint(whole.left(), whole.top()), QPoint(whole.right(), inside.top() - 1)),
        QRect(QPoint(whole.left(), inside.top()), QPoint(inside.left() - 1, inside.bottom())),
        QRect(QPoint(inside.right() + 1, inside.top()), QPoint(whole.right(), inside.bottom())),
        QRect(QPoint(whole.left(), inside.bottom() + 1), QPoint(whole.right(), whole.bottom())),
    };
    std::erase_if(parts, [](const QRect &part) { return part.isEmpty(); });
    return parts;
}

}  // namespace

double reach(double blur)
{
    return std::ceil(std::max(0.0, blur));
}

QImage image(const QSizeF &size, double radius, double blur, qreal devicePixelRatio)
{
    static QCache<QString, QImage> cache(32);
    const QString key = QStringLiteral("%1x%2r%3b%4d%5")
                            .arg(size.width()).arg(size.height()).arg(radius).arg(blur).arg(devicePixelRatio);
    if (const QImage *kept = cache.object(key))
        return *kept;

    const double margin = reach(blur);
    const QSize pixels(int(std::ceil((size.width() + 2 * margin) * devicePixelRatio)),
                       int(std::ceil((size.height() + 2 * margin) * devicePixelRatio)));
    if (pixels.isEmpty())
        return QImage();
    QImage shadow(pixels, QImage::Format_Alpha8);
    shadow.fill(0);
    {
        QPainter painter(&shadow);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(devicePixelRatio, devicePixelRatio);
        ContinuousShape::fill(painter, QRectF(QPointF(margin, margin), size), radius, Qt::black);
    }
    // Three box passes come close to a Gaussian whose reach is the blur radius.
    const int box = std::max(1, int(std::lround(blur * devicePixelRatio / 3)));
    for (int pass = 0; pass < 3; ++pass) {
        boxPass(shadow, box, true);
        boxPass(shadow, box, false);
    }
    shadow.setDevicePixelRatio(devicePixelRatio);
    cache.insert(key, new QImage(shadow));
    return shadow;
}

void paint(QPainter &painter, const QRectF &card, double radius, double blur, const QPointF &offset, double opacity,
           const QRectF &covered)
{
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QImage shadow = image(card.size(), radius, blur, ratio);
    if (shadow.isNull())
        return;
    const double margin = reach(blur);
    painter.save();
    painter.setOpacity(painter.opacity() * opacity);
    // An alpha image is drawn in the pen's colour.
    painter.setPen(Qt::black);
    const QPointF at = card.topLeft() + offset - QPointF(margin, margin);
    // The covered area in the image's pixels, shrunk to the whole pixels it covers.
    const QRectF hole = covered.isEmpty() ? QRectF() : QRectF((covered.topLeft() - at) * ratio, covered.size() * ratio);
    const QRect skipped = hole.isEmpty() ? QRect()
                                         : QRect(QPoint(int(std::ceil(hole.left())), int(std::ceil(hole.top()))),
                                                 QPoint(int(std::floor(hole.right())) - 1, int(std::floor(hole.bottom())) - 1));
    for (const QRect &part : partsAround(shadow.rect(), skipped)) {
        const QRectF onPainter(at + QPointF(part.topLeft()) / ratio, QSizeF(part.size()) / ratio);
        paintInBands(painter, onPainter, [&] {
            if (part == shadow.rect())
                painter.drawImage(at, shadow);
            else
                painter.drawImage(onPainter, shadow, QRectF(part));
        });
    }
    painter.restore();
}

}  // namespace sw::CardShadow
