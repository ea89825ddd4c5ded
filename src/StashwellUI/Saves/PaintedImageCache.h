#pragma once

// Painted items kept as images, one a save, within a byte budget: the images least recently drawn
// go first. An item whose look (everything its painting reads) is the same as the kept one's is
// drawn from the image; otherwise it is painted anew onto a fresh image. The card and row caches
// each say what their look is and how their item paints; keeping, budgeting and counting is here.
//
// `Look` is a value with `bool sameAs(const Look &) const`.

#include "Library/Save.h"
#include "StashwellUI/Pictures/PaintMemo.h"

#include <QCache>
#include <QHashFunctions>
#include <QImage>
#include <QPainter>
#include <QPointF>
#include <QSizeF>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

namespace sw {

template <class Look>
class PaintedImageCache {
public:
    explicit PaintedImageCache(std::int64_t budget) : m_images(costOf(budget)) {}

    // The bytes that images of what a viewport of `viewport` points at `ratio` pixels a point
    // shows take, `screens` times over, within [floor, ceiling]: a cache sized to what is on
    // screen and what is prepared around it.
    static std::int64_t screensBudget(const QSizeF &viewport, qreal ratio, double screens, std::int64_t floor,
                                      std::int64_t ceiling)
    {
        const double bytes = std::max(0.0, viewport.width() * ratio) * std::max(0.0, viewport.height() * ratio) * 4 * screens;
        if (!std::isfinite(bytes) || bytes >= double(ceiling))
            return std::max(floor, ceiling);
        return std::clamp<std::int64_t>(std::int64_t(bytes), floor, std::max(floor, ceiling));
    }

    // The kept image of save `id` when its look is `look`; otherwise an image of `area` points at
    // `ratio` pixels a point, cleared and handed to `paint(QPainter &, const Look &)`, then kept.
    // Null when the image would be empty or larger than the whole budget (nothing is kept then).
    // A save keeps an image for each width it was painted at: a shelf that narrows and widens
    // again (the inspector opening and closing beside it) finds the images of both widths.
    template <class Paint>
    const QImage *image(const Save::ID &id, Look look, const QSizeF &area, qreal ratio, Paint &&paint)
    {
        const QSize pixels = pixelsOf(area, ratio);
        const Key key{id, pixels.width()};
        if (Entry *kept = m_images.object(key); kept && kept->look.sameAs(look))
            return &kept->image;
        if (pixels.isEmpty())
            return nullptr;
        QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::transparent);
        {
            const PaintMemo::KeptWhole keptWhole;
            QPainter onImage(&image);
            paint(onImage, std::as_const(look));
        }
        ++m_renders;
        const int cost = int(std::max<qint64>(1, image.sizeInBytes() >> 10));
        auto *made = new Entry{std::move(look), std::move(image)};
        if (!m_images.insert(key, made, cost))
            return nullptr;   // larger than the whole budget: QCache has deleted it
        return &made->image;
    }

    // Whether an image of save `id` with that look, of `area` points at `ratio`, is kept.
    bool holds(const Save::ID &id, const Look &look, const QSizeF &area, qreal ratio) const
    {
        const Entry *kept = m_images.object(Key{id, pixelsOf(area, ratio).width()});
        return kept && kept->look.sameAs(look);
    }

    // The most the kept images may take, in bytes.
    std::int64_t budgetBytes() const { return std::int64_t(m_images.maxCost()) << 10; }
    // Another budget: the images least recently drawn go until the rest fit in it.
    void setBudget(std::int64_t budget) { m_images.setMaxCost(costOf(budget)); }
    void clear() { m_images.clear(); }
    int size() const { return int(m_images.count()); }
    // How many times an item was painted anew.
    int renders() const { return m_renders; }

private:
    static qsizetype costOf(std::int64_t budget)
    {
        return qsizetype(std::clamp<std::int64_t>(budget >> 10, 1, std::numeric_limits<int>::max()));
    }

    static QSize pixelsOf(const QSizeF &area, qreal ratio)
    {
        return QSize(int(std::ceil(area.width() * ratio)), int(std::ceil(area.height() * ratio)));
    }

    struct Key {
        Save::ID id;
        int width = 0;   // in pixels
        friend bool operator==(const Key &, const Key &) = default;
        friend size_t qHash(const Key &key, size_t seed = 0) { return qHashMulti(seed, key.id, key.width); }
    };

    struct Entry {
        Look look;
        QImage image;
    };

    QCache<Key, Entry> m_images;
    int m_renders = 0;
};

}  // namespace sw
