#include "StashwellUI/Pictures/DrawList.h"

#include "Capture/Parallel.h"

#include <QScopeGuard>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace sw {

void DrawList::drawImage(const QPointF &at, const QImage &image)
{
    m_steps.push_back(Step{Kind::image, m_world, QRectF(at, QSizeF()), QRectF(), image, {}, {}, {}});
}

void DrawList::drawImage(const QRectF &target, const QImage &image, const QRectF &source)
{
    m_steps.push_back(Step{Kind::image, m_world, target, source, image, {}, {}, {}});
}

void DrawList::drawPixmap(const QPointF &at, const QPixmap &pixmap)
{
    m_steps.push_back(Step{Kind::pixmap, m_world, QRectF(at, QSizeF()), QRectF(), {}, pixmap, {}, {}});
}

void DrawList::drawPixmap(const QPointF &at, const QPixmap &pixmap, const QRectF &source)
{
    m_steps.push_back(Step{Kind::pixmap, m_world, QRectF(at, QSizeF()), source, {}, pixmap, {}, {}});
}

void DrawList::fillRect(const QRectF &rect, const QColor &color)
{
    m_steps.push_back(Step{Kind::fill, m_world, rect, QRectF(), {}, {}, color, {}});
}

void DrawList::clipTo(const QRect &rect)
{
    m_steps.push_back(Step{Kind::clip, QTransform(), QRectF(), QRectF(), {}, {}, {}, rect});
}

int DrawList::bandsFor(qint64 pixels)
{
    // Below about a quarter of a 1600 x 1000 window, one thread copies it about as soon as the
    // others would have woken.
    constexpr qint64 kSharedFrom = 400 * 1000;
    if (pixels < kSharedFrom)
        return 1;
    return int(std::clamp<std::size_t>(usableCores(), 1, 4));
}

QRectF DrawList::reach(const Step &step)
{
    if (!step.target.size().isEmpty())
        return step.target;
    switch (step.kind) {
    case Kind::image:
        return QRectF(step.target.topLeft(), step.source.isEmpty() ? step.image.deviceIndependentSize()
                                                                   : step.source.size() / step.image.devicePixelRatio());
    case Kind::pixmap:
        return QRectF(step.target.topLeft(), step.source.isEmpty() ? step.pixmap.deviceIndependentSize()
                                                                   : step.source.size() / step.pixmap.devicePixelRatio());
    case Kind::fill:
        return step.target;
    case Kind::clip:
        break;
    }
    return {};
}

void DrawList::replayRows(QPainter &painter, const QTransform &toDevice, const QRect &rows, int top) const
{
    const QTransform shifted = toDevice * QTransform::fromTranslate(0, -top);
    const QRect onImage = rows.translated(0, -top);
    painter.setClipRect(onImage);
    bool clippedAway = onImage.isEmpty();
    bool transformSet = false;
    QTransform last;
    for (const Step &step : m_steps) {
        if (step.kind == Kind::clip) {
            const QRect clip = step.clip.translated(0, -top) & onImage;
            clippedAway = clip.isEmpty();
            painter.resetTransform();
            transformSet = false;
            if (!clippedAway)
                painter.setClipRect(clip);
            continue;
        }
        if (clippedAway)
            continue;
        // A step wholly outside these rows costs the engine a call for nothing: the bands each go
        // through the whole list.
        if (!(step.world * toDevice).mapRect(reach(step)).toAlignedRect().intersects(rows))
            continue;
        if (!transformSet || step.world != last) {
            painter.setWorldTransform(step.world * shifted);
            last = step.world;
            transformSet = true;
        }
        switch (step.kind) {
        case Kind::image:
            if (step.source.isEmpty())
                painter.drawImage(step.target.topLeft(), step.image);
            else
                painter.drawImage(step.target, step.image, step.source);
            break;
        case Kind::pixmap:
            if (step.source.isEmpty())
                painter.drawPixmap(step.target.topLeft(), step.pixmap);
            else
                painter.drawPixmap(step.target.topLeft(), step.pixmap, step.source);
            break;
        case Kind::fill:
            painter.fillRect(step.target, step.color);
            break;
        case Kind::clip:
            break;
        }
    }
}

namespace {

std::atomic<int> g_serving{0};

}  // namespace

int DrawList::Crew::serving() { return g_serving.load(); }

// What a crew shares: the parts to paint, handed out in turn.
struct DrawList::Crew::Turns {
    enum State { waiting, published, abandoned };
    std::mutex mutex;
    std::condition_variable changed;
    std::atomic<int> state{waiting};
    // Set before the state becomes `published`.
    std::function<void(int)> part;
    int parts = 0;
    std::atomic<int> next{0};
    int left = 0;   // parts not yet done, under the mutex

    void set(State to)
    {
        const std::lock_guard lock(mutex);
        state.store(to, std::memory_order_release);
        changed.notify_all();
    }
    // Paints parts until none is left to take; `part` is only called for a part not yet done, so
    // never after the replay that published it has returned.
    void takeTurns()
    {
        for (int p = next.fetch_add(1); p < parts; p = next.fetch_add(1)) {
            part(p);
            const std::lock_guard lock(mutex);
            if (--left == 0)
                changed.notify_all();
        }
    }
    // A thread of the crew: up at once, it waits a little awake for the list, then asleep.
    void serve()
    {
        g_serving.fetch_add(1);
        const auto done = qScopeGuard([] { g_serving.fetch_sub(1); });
        using Clock = std::chrono::steady_clock;
        const Clock::time_point awake = Clock::now() + std::chrono::microseconds(500);
        while (state.load(std::memory_order_acquire) == waiting && Clock::now() < awake)
            std::this_thread::yield();
        {
            std::unique_lock lock(mutex);
            changed.wait(lock, [this] { return state.load(std::memory_order_relaxed) != waiting; });
        }
        if (state.load(std::memory_order_acquire) == published)
            takeTurns();
    }
};

DrawList::Crew::Crew(int bands) : m_bands(std::clamp(bands, 1, 4))
{
    if (m_bands == 1)
        return;
    m_turns = std::make_shared<Turns>();
    for (int b = 1; b < m_bands; ++b)
        detail::runOnHelper([turns = m_turns] { turns->serve(); });
}

DrawList::Crew::~Crew()
{
    if (m_turns && m_turns->state.load() == Turns::waiting)
        m_turns->set(Turns::abandoned);
}

void DrawList::replay(QImage &device, const QTransform &toDevice, const QRect &area, Crew &crew) const
{
    const QRect shown = area & device.rect();
    // Each band is cut in two: the threads take the parts in turn as they come, and this one
    // starts at once, so that a thread slow to wake leaves its part to the others rather than
    // holding up the frame.
    const int parts = crew.m_turns ? std::min(2 * crew.bands(), shown.height()) : 1;
    // Each part is painted through an image of its own over the device's rows (the device already
    // has its painter): never through the device's bits(), which would part a shared image from
    // its other holders.
    uchar *const bits = const_cast<uchar *>(device.constBits());
    const qsizetype perLine = device.bytesPerLine();
    const auto part = [this, bits, perLine, &device, &toDevice, shown, parts](int p) {
        const int top = shown.top() + shown.height() * p / parts;
        const int bottom = shown.top() + shown.height() * (p + 1) / parts;
        QImage rows(bits + qsizetype(top) * perLine, device.width(), bottom - top, perLine, device.format());
        QPainter painter(&rows);
        replayRows(painter, toDevice, QRect(shown.left(), top, shown.width(), bottom - top), top);
    };
    if (shown.isEmpty() || m_steps.empty() || parts <= 1) {
        if (!shown.isEmpty() && !m_steps.empty())
            part(0);
        return;   // the crew, if any, is let go when it ends
    }
    Crew::Turns &turns = *crew.m_turns;
    turns.part = part;
    turns.parts = parts;
    turns.left = parts;
    turns.set(Crew::Turns::published);
    turns.takeTurns();
    std::unique_lock lock(turns.mutex);
    turns.changed.wait(lock, [&] { return turns.left == 0; });
}

}  // namespace sw
