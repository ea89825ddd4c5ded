#pragma once

// What the card and row caches share: the painted images of saves kept by save within a byte
// budget (PaintedImageCache), and the part of an item's look that is the same for every kind of
// item: the size, the pixel density, the theme and the language of the texts.

#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Saves/PaintedImageCache.h"

#include <QSizeF>
#include <QString>

#include <cstdint>
#include <utility>

namespace sw {

// What painting any item reads besides the item and its state.
struct PaintedSurroundings {
    QSizeF size;
    qreal ratio = 1;
    Appearance appearance = Appearance::light;
    Surface surface = Surface::solid;
    QString language;

    // For an item painted now into `size` on a device of `ratio`.
    static PaintedSurroundings now(const QSizeF &size, qreal ratio);
    friend bool operator==(const PaintedSurroundings &, const PaintedSurroundings &) = default;
};

// `Look` is a value with `bool sameAs(const Look &) const`; `DefaultBudget` the bytes the images
// take at most unless told otherwise.
template <class Look, std::int64_t DefaultBudget>
class PaintedSaveCache {
public:
    static constexpr std::int64_t defaultBudget = DefaultBudget;

    explicit PaintedSaveCache(std::int64_t budget = DefaultBudget) : m_images(budget) {}

    // The most the kept images may take, in bytes.
    std::int64_t budgetBytes() const { return m_images.budgetBytes(); }
    // Another budget (a shelf sizes its caches to what it shows): the images least recently
    // drawn go until the rest fit.
    void setBudgetBytes(std::int64_t bytes) { m_images.setBudget(bytes); }

    void clear() { m_images.clear(); }
    int size() const { return m_images.size(); }
    // How many times an item was painted anew (for tests and benchmarks).
    int renders() const { return m_images.renders(); }

protected:
    // Makes the image of a look (`make()`) ahead of time; whether it was painted anew (false when
    // one with that look is kept).
    template <class Make>
    bool paintsAnew(Make &&make)
    {
        const int before = m_images.renders();
        std::forward<Make>(make)();
        return m_images.renders() != before;
    }

    PaintedImageCache<Look> m_images;
};

}  // namespace sw
