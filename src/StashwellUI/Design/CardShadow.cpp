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

// One pass of a box blur of `radius` pixels over the rows (or, transposed, the columns) of an
// 8-bit alpha image.
void boxPass(QImage &image, int radius, bool horizontal)
{
    if (radius < 1)
        return;
    const int width = image.width();
    const int height = image.height();
    const int lines = horizontal ? height : width;
    const int length = horizontal ? width : height;
    std::vector<int> source(static_cast<size_t>(length));
    const int window = 2 * radius + 1;
    for (int line = 0; line < lines; ++line) {
        for (int i = 0; i < length; ++i)
            source[size_t(i)] = horizontal ? image.constScanLine(line)[i] : image.constScanLine(i)[line];
        int sum = 0;
        for (int i = -radius; i <= radius; ++i)
            sum += (i >= 0 && i < length) ? source[size_t(i)] : 0;
        for (int i = 0; i < length; ++i) {
            const uchar value = uchar(sum / window);
            if (horizontal)
                image.scanLine(line)[i] = value;
            else
                image.scanLine(i)[line] = value;
            const int leaving = i - radius;
            const int entering = i + radius + 1;
            sum -= (leaving >= 0) ? source[size_t(leaving)] : 0;
            sum += (entering < length) ? source[size_t(entering)] : 0;
        }
    }
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

void paint(QPainter &painter, const QRectF &card, double radius, double blur, const QPointF &offset, double opacity)
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
    paintInBands(painter, QRectF(at, shadow.deviceIndependentSize()), [&] { painter.drawImage(at, shadow); });
    painter.restore();
}

}  // namespace sw::CardShadow
