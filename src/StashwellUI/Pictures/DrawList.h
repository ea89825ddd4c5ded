#pragma once

// Copies of pictures that are already made, listed on the main thread and carried out afterwards,
// on several threads at once. A frame of the shelf is mostly such copies (the canvas between the
// cards, each card's kept image, its border's kept pieces), and after a pause between two inputs
// the memory they read and write is cold: one thread copying a whole window's worth waits on it
// far longer than a few threads each copying a band of it.
//
// Listing is done where the pictures are looked up or made (main thread only); the list holds its
// own references to them, so that no cache is touched while it is carried out.

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QRect>
#include <QTransform>

#include <functional>
#include <memory>
#include <vector>

namespace sw {

class DrawList {
public:
    // The same names as QPainter's, for the calls a copy of a kept picture makes (a piece of
    // painting written once for both takes either).
    void drawImage(const QPointF &at, const QImage &image);
    void drawImage(const QRectF &target, const QImage &image, const QRectF &source);
    void drawPixmap(const QPointF &at, const QPixmap &pixmap);
    void drawPixmap(const QPointF &at, const QPixmap &pixmap, const QRectF &source);
    // A plain fill without antialiasing, the only kind a copy makes.
    void fillRect(const QRectF &rect, const QColor &color);
    bool testRenderHint(QPainter::RenderHint hint) const { return m_hints.testFlag(hint); }
    void setRenderHint(QPainter::RenderHint hint, bool on = true) { m_hints.setFlag(hint, on); }
    QPainter::CompositionMode compositionMode() const { return QPainter::CompositionMode_SourceOver; }

    // The transform the calls after this are drawn with (the painter's world transform).
    void setWorldTransform(const QTransform &transform) { m_world = transform; }
    // What follows is drawn only within `rect`, in device pixels.
    void clipTo(const QRect &rect);

    // Threads called up to share the next replay(): woken when the listing starts, so that they are
    // up when it is done (waking one takes a good part of what it saves). Let go when it ends,
    // replayed with or not.
    class Crew {
    public:
        // Wakes bands - 1 threads (none for one band).
        explicit Crew(int bands);
        ~Crew();
        Crew(const Crew &) = delete;
        Crew &operator=(const Crew &) = delete;
        int bands() const { return m_bands; }
        // How many threads of any crew are up, waiting for their list or painting it.
        static int serving();

    private:
        friend class DrawList;
        struct Turns;
        std::shared_ptr<Turns> m_turns;
        int m_bands = 1;
    };

    // Carries out the list into `device` (the image a painter with device transform `toDevice`
    // paints into), only within `area` (device pixels): in bands of rows, shared by this thread
    // and the crew's, all done before it returns. Once per crew.
    void replay(QImage &device, const QTransform &toDevice, const QRect &area, Crew &crew) const;

    // How many bands a copy of `pixels` device pixels is shared among: one for a small area, where
    // waking the threads would cost more than they save.
    static int bandsFor(qint64 pixels);

private:
    enum class Kind { image, pixmap, fill, clip };
    struct Step {
        Kind kind;
        QTransform world;
        QRectF target;
        QRectF source;   // empty: the whole picture at `target`'s corner
        QImage image;
        QPixmap pixmap;
        QColor color;
        QRect clip;
    };
    // What a step may touch, in the coordinates it is drawn in.
    static QRectF reach(const Step &step);
    // Carries out the list within `rows` (device pixels) with `painter`, on an image whose first
    // row is the device's row `top`.
    void replayRows(QPainter &painter, const QTransform &toDevice, const QRect &rows, int top) const;

    std::vector<Step> m_steps;
    QTransform m_world;
    QPainter::RenderHints m_hints;
};

}  // namespace sw
