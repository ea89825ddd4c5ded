#include "StashwellUI/Design/Symbols.h"

#include <QCache>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QSet>
#include <QSvgRenderer>

#include <cmath>
#include <memory>

namespace sw {

namespace {

const QString kFolder = QStringLiteral(":/StashwellUI/symbols/");

QString pathOf(QStringView name) { return kFolder + name.toString() + QStringLiteral(".svg"); }

// Renderers and drawn pixmaps; the interface draws on the main thread only.
struct Store {
    QHash<QString, std::shared_ptr<QSvgRenderer>> renderers;
    QCache<QString, QPixmap> pixmaps{16 * 1024};   // cost in KiB of pixel data
    QSet<QString> warned;
};

Store &store()
{
    static Store s;
    return s;
}

std::shared_ptr<QSvgRenderer> rendererFor(QStringView name)
{
    Store &s = store();
    const QString key = name.toString();
    if (auto it = s.renderers.constFind(key); it != s.renderers.constEnd())
        return *it;
    auto renderer = std::make_shared<QSvgRenderer>(pathOf(name));
    if (!renderer->isValid()) {
        if (!s.warned.contains(key)) {
            s.warned.insert(key);
            qWarning("Symbols: no drawing named \"%s\"", qPrintable(key));
        }
        return nullptr;
    }
    s.renderers.insert(key, renderer);
    return renderer;
}

QRectF fitted(QSizeF content, const QRectF &box)
{
    if (content.isEmpty())
        return box;
    const QSizeF size = content.scaled(box.size(), Qt::KeepAspectRatio);
    return QRectF(box.center().x() - size.width() / 2, box.center().y() - size.height() / 2, size.width(),
                  size.height());
}

}  // namespace

bool Symbols::exists(QStringView name)
{
    return !name.isEmpty() && QFile::exists(pathOf(name));
}

QStringList Symbols::names()
{
    QStringList result;
    const QStringList files = QDir(kFolder).entryList({QStringLiteral("*.svg")}, QDir::Files, QDir::Name);
    for (const QString &file : files)
        result.append(file.chopped(4));
    result.sort();
    return result;
}

QStringList Symbols::fullColourNames() { return {logo}; }

QPixmap Symbols::pixmap(QStringView name, double side, const QColor &tint, qreal devicePixelRatio)
{
    if (!(side > 0) || !std::isfinite(side) || !(devicePixelRatio > 0))
        return {};
    const bool fullColour = fullColourNames().contains(name.toString());
    const QString key = QStringLiteral("%1|%2|%3|%4")
                            .arg(name)
                            .arg(side)
                            .arg(fullColour ? 0u : tint.rgba(), 0, 16)
                            .arg(devicePixelRatio);
    Store &s = store();
    if (const QPixmap *cached = s.pixmaps.object(key))
        return *cached;

    const std::shared_ptr<QSvgRenderer> renderer = rendererFor(name);
    if (!renderer)
        return {};
    const int pixels = std::max(1, static_cast<int>(std::ceil(side * devicePixelRatio)));
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer->render(&painter, fitted(renderer->viewBoxF().size(), QRectF(0, 0, pixels, pixels)));
        if (!fullColour) {
            painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
            painter.fillRect(image.rect(), tint);
        }
    }
    QPixmap result = QPixmap::fromImage(image);
    result.setDevicePixelRatio(devicePixelRatio);
    s.pixmaps.insert(key, new QPixmap(result), std::max<qsizetype>(1, image.sizeInBytes() / 1024));
    return result;
}

void Symbols::paint(QPainter &painter, const QRectF &rect, QStringView name, const QColor &tint)
{
    const double side = std::min(rect.width(), rect.height());
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QPixmap drawn = pixmap(name, side, tint, ratio);
    if (drawn.isNull())
        return;
    const QRectF target(rect.center().x() - side / 2, rect.center().y() - side / 2, side, side);
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(target, drawn, QRectF(drawn.rect()));
    painter.restore();
}

QIcon Symbols::icon(QStringView name, const QColor &tint)
{
    QIcon result;
    for (int side : {16, 24, 32}) {
        const QPixmap drawn = pixmap(name, side, tint, 1);
        if (!drawn.isNull())
            result.addPixmap(drawn);
    }
    return result;
}

int Symbols::cachedCount() { return static_cast<int>(store().pixmaps.count()); }

void Symbols::clearCache() { store().pixmaps.clear(); }

}  // namespace sw
