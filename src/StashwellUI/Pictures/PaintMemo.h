#pragma once

// Painting remembered as bitmaps. A shelf repaints the same few dozen cards on every scroll frame,
// and antialiased rounded shapes, capsules and shaped text cost far more to rasterise than to copy;
// so a painter that draws something the same way again and again (a pill, a badge, a thumbnail's
// frame, a line of text) draws it once into a bitmap kept under a key that names everything it
// depends on, and copies the bitmap on every later paint.
//
// The key must name what is drawn (texts, colours as resolved for the current appearance and
// surface, states); the size in device pixels and the device pixel ratio are added here. Painting
// that is transformed beyond a translation, or not into a raster device, is drawn directly.
// Main thread only, like all painting.

#include <QRectF>
#include <QString>

#include <charconv>

#include <functional>

class QColor;
class QPainter;

namespace sw {
class DrawList;
}

namespace sw::PaintMemo {

// A key for a kept drawing: `kind` and the numbers its look is made of, each after a '|', written
// in one pass. (QString::arg makes a new string for each number, and a shelf asks for keys for
// every card on every frame.) Integers are written exactly, floating-point numbers shortest.
// keyAfter() puts another key in front.
template <typename... Numbers>
QString keyAfter(QStringView base, QLatin1StringView kind, Numbers... numbers)
{
    char buffer[25 * sizeof...(Numbers) + 1];
    char *at = buffer;
    [[maybe_unused]] char *const end = buffer + sizeof buffer;   // unused for a key of no numbers
    // Each number fits in its 25 characters; a number that did not would end the key there.
    [[maybe_unused]] const auto put = [&](auto number) {
        if (at == end)
            return;
        *at++ = '|';
        at = std::to_chars(at, end, number).ptr;
    };
    (put(numbers), ...);
    QString out;
    out.reserve(base.size() + kind.size() + qsizetype(at - buffer));
    out += base;
    out += kind;
    out += QLatin1StringView(buffer, qsizetype(at - buffer));
    return out;
}

template <typename... Numbers>
QString key(QLatin1StringView kind, Numbers... numbers)
{
    return keyAfter(QStringView(), kind, numbers...);
}

// Draws into `rect` what `paint` draws into a rectangle of that size at the origin, from the
// bitmap kept under `key` (made by `paint` the first time). The rectangle's corner is put on a
// device pixel so that the bitmap is copied, never resampled.
void draw(QPainter &painter, const QRectF &rect, const QString &key,
          const std::function<void(QPainter &painter, const QRectF &area)> &paint);
// The same for a drawing that leaves everything more than `edge` points inside its rectangle
// untouched (a border): only the band along the edges is copied.
void drawEdges(QPainter &painter, const QRectF &rect, double edge, const QString &key,
               const std::function<void(QPainter &painter, const QRectF &area)> &paint);
// The copy drawEdges() makes, listed in `list` (to be carried out later) instead of drawn, as
// `painter` would draw it; false, with nothing listed, where drawEdges() would draw it directly.
bool listEdges(DrawList &list, const QPainter &painter, const QRectF &rect, double edge, const QString &key,
               const std::function<void(QPainter &painter, const QRectF &area)> &paint);

// The same for a drawing made in the painter's own coordinates that stays within `bounds` (an
// antialiased shape where it lies): `key` names what is drawn relative to the corner of `bounds`,
// and where that corner falls within a device pixel is added to it, so the copy is exact.
// Antialiased shapes taller than a few dozen lines are what the raster engine hands span by span
// to worker threads (each hand-off costs more than the blending); a copy of a bitmap is not.
// With `edge`, the drawing leaves everything more than that many points inside `bounds`
// untouched, and only the band along the edges is copied.
void drawInPlace(QPainter &painter, const QRectF &bounds, const QString &key, const std::function<void(QPainter &painter)> &paint,
                 double edge = 0);

// The same for a filled shape (a pane, a card's body) whose middle, everything more than
// `edge` points inside its rectangle, is `middle` throughout: the band along the edges is copied
// and the middle filled with the colour. A large pane's middle filled costs a fraction of its
// copy, which reads every pixel of the bitmap and blends it.
void drawFilled(QPainter &painter, const QRectF &rect, double edge, const QColor &middle, const QString &key,
                const std::function<void(QPainter &painter, const QRectF &area)> &paint);

// A rounded shape of any size (a fill or a border) whose edges run straight and alike beyond
// `edge` points from each corner: drawn from one small bitmap of the same shape, kept, whose
// corners are copied as they are and whose straight parts are copied again and again along the
// edges and across the middle. Every card's shape is another size, so a bitmap of each size was
// painted anew for nearly every card, and the raster engine hands the spans of a tall
// antialiased shape to worker threads one handful at a time: waking them costs several times
// the drawing. `paint` draws the shape filling `area`; `key` names the shape but not its size,
// which is added. With `middle`, everything beyond the bands is that colour; without, it is
// left as it is (a border's middle). A shape too small to gain from it is drawn as drawInPlace()
// draws; one drawn into a bitmap being kept uses its small bitmap too (it is shared by every
// shape of its kind).
void drawPieced(QPainter &painter, const QRectF &bounds, double edge, const QString &key,
                const std::function<void(QPainter &painter, const QRectF &area)> &paint, const QColor *middle = nullptr);

// The same as draw() for a drawing of one save's own (its picture, its post's words), which is
// seldom drawn alike elsewhere: into an image kept whole (a card's) it is drawn directly, where a
// bitmap of its own would be painted, kept and copied for the one drawing. `key` is asked for
// only when the bitmap is.
void drawOwn(QPainter &painter, const QRectF &rect, const std::function<QString()> &key,
             const std::function<void(QPainter &painter, const QRectF &area)> &paint);

// While one lives, what is painted is itself kept whole as a bitmap (a card's image, or one of
// these bitmaps): shapes drawn in place are drawn directly, not kept a second time.
class KeptWhole {
public:
    KeptWhole();
    ~KeptWhole();
    KeptWhole(const KeptWhole &) = delete;
    KeptWhole &operator=(const KeptWhole &) = delete;

private:
    bool m_was;
};

// How many bitmaps are kept, and forgetting them all.
int count();
void clear();

}  // namespace sw::PaintMemo
