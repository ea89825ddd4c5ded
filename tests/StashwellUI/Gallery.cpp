#include "Gallery.h"

#include "StashwellUI/Design/Tokens.h"

#include <QCoreApplication>
#include <QDir>
#include <QLinearGradient>
#include <QPainter>
#include <QWidget>

namespace sw::gallery {

namespace {

// Something busy behind a glass window, so that translucency shows.
void paintDesktop(QPainter &painter, const QRect &rect, Appearance appearance)
{
    QLinearGradient gradient(rect.topLeft(), rect.bottomRight());
    if (appearance == Appearance::dark) {
        gradient.setColorAt(0, QColor(24, 40, 84));
        gradient.setColorAt(1, QColor(92, 30, 64));
    } else {
        gradient.setColorAt(0, QColor(140, 190, 240));
        gradient.setColorAt(1, QColor(250, 190, 150));
    }
    painter.fillRect(rect, gradient);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 60));
    for (int x = -rect.height(); x < rect.width(); x += 48)
        painter.drawPolygon(QPolygon({QPoint(x, rect.height()), QPoint(x + 16, rect.height()),
                                      QPoint(x + 16 + rect.height(), 0), QPoint(x + rect.height(), 0)}));
}

}  // namespace

QString lookName(Appearance appearance, Surface surface)
{
    return QStringLiteral("%1-%2").arg(appearance == Appearance::dark ? u"dark" : u"light", surfaceRawValue(surface));
}

bool isBlank(const QImage &image)
{
    if (image.isNull())
        return true;
    const QImage plain = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb first = plain.pixel(0, 0);
    for (int y = 0; y < plain.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(plain.constScanLine(y));
        for (int x = 0; x < plain.width(); ++x) {
            if (line[x] != first)
                return false;
        }
    }
    return true;
}

QList<Shot> capture(QWidget &widget, const QString &name)
{
    Theme &theme = Theme::instance();
    const Appearance appearanceBefore = theme.appearance();
    const Surface surfaceBefore = theme.surface();

    widget.ensurePolished();
    if (widget.size().isEmpty() || !widget.testAttribute(Qt::WA_Resized)) {
        QSize size = widget.sizeHint();
        if (widget.hasHeightForWidth() && size.width() > 0)
            size.setHeight(widget.heightForWidth(size.width()));
        widget.resize(size.expandedTo(QSize(1, 1)));
    }

    const QString folder = qEnvironmentVariable("STASHWELL_GALLERY_DIR");
    if (!folder.isEmpty())
        QDir().mkpath(folder);

    QList<Shot> shots;
    for (Appearance appearance : {Appearance::light, Appearance::dark}) {
        for (Surface surface : allSurfaces) {
            theme.setAppearance(appearance);
            theme.setSurface(surface);
            // Views that react to the theme by signal update their state before they are drawn.
            QCoreApplication::processEvents();

            Shot shot;
            shot.appearance = appearance;
            shot.surface = surface;
            const qreal ratio = 2;
            shot.view = QImage(widget.size() * ratio, QImage::Format_ARGB32_Premultiplied);
            shot.view.setDevicePixelRatio(ratio);
            shot.view.fill(Qt::transparent);
            widget.render(&shot.view, QPoint(), QRegion(), QWidget::DrawChildren);
            shot.blank = isBlank(shot.view);

            shot.picture = QImage(shot.view.size(), QImage::Format_ARGB32_Premultiplied);
            shot.picture.setDevicePixelRatio(ratio);
            {
                QPainter painter(&shot.picture);
                if (surface == Surface::glass)
                    paintDesktop(painter, QRect(QPoint(), widget.size()), appearance);
                else
                    painter.fillRect(QRect(QPoint(), widget.size()), Tokens::Colors::window());
                painter.drawImage(QPoint(), shot.view);
            }
            if (!folder.isEmpty()) {
                shot.path = QDir(folder).filePath(name + u'-' + lookName(appearance, surface) + QStringLiteral(".png"));
                if (!shot.picture.save(shot.path))
                    shot.path.clear();
            }
            shots.append(shot);
        }
    }

    theme.setAppearance(appearanceBefore);
    theme.setSurface(surfaceBefore);
    return shots;
}

bool captureAndCheck(QWidget &widget, const QString &name, QString *why)
{
    const QList<Shot> shots = capture(widget, name);
    QStringList blank;
    for (const Shot &shot : shots) {
        if (shot.blank)
            blank.append(lookName(shot.appearance, shot.surface));
    }
    if (blank.isEmpty())
        return true;
    if (why)
        *why = QStringLiteral("%1 is blank in %2").arg(name, blank.join(QStringLiteral(", ")));
    return false;
}

}  // namespace sw::gallery
