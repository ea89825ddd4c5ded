#pragma once

// When the shelf paints ahead: the images of the cards and rows just out of view are painted while
// nothing else is happening, a few milliseconds at a time, nearest first; never ahead of a paint of
// the viewport that is waiting (that one is what the user waits for), nor while the shelf's owner
// is about to hand new blocks. The last column's items are let go after the paint that shows the
// new one, when painting ahead next runs: a long list costs a pass over all its items to let go.

#include "Shelf/ShelfItem.h"

#include <QList>

#include <cstddef>
#include <functional>
#include <vector>

class QTimer;
class QWidget;

namespace sw::detail {

class ShelfPrepare {
public:
    // How long one turn of painting ahead may take, in ms. Shorter turns keep an input waiting
    // less, but paint fewer cards ahead between frames (2 ms made the grid's scroll frames slower).
    static constexpr int sliceMs = 4;
    // The pause between two such turns, in ms.
    static constexpr int yieldMs = 1;

    // `slice` paints ahead for about sliceMs and says whether it finished; it is called only while
    // `surface` is visible.
    ShelfPrepare(QWidget &surface, std::function<bool()> slice);
    ShelfPrepare(const ShelfPrepare &) = delete;
    ShelfPrepare &operator=(const ShelfPrepare &) = delete;

    // The owner is about to hand new blocks: painting ahead waits for them, or for release().
    void hold();
    void release();
    // New blocks came: they end the hold (painting ahead then follows their paint).
    void endHold() { m_held = false; }
    bool isRunning() const;

    // Paints ahead from the next turn of the event loop, unless a paint or the owner is waited for.
    void schedule();
    // A paint of the viewport was asked for: painting ahead goes on once it has run.
    void paintRequested();
    // The viewport painted: what waited for it follows.
    void painted();
    // Keeps the items of the last column to let go after the next paint (only a list nobody else
    // holds costs anything; a few columns' at most, the oldest let go now).
    void letGo(QList<ShelfItem> items);

private:
    void run();
    // Stops a turn that is due until what it waits for is done.
    void pause();

    QWidget &m_surface;
    std::function<bool()> m_slice;
    QTimer *m_timer = nullptr;
    bool m_paintPending = false;   // a paint of the viewport was asked for and has not run
    bool m_afterPaint = false;     // painting ahead waits for that paint
    bool m_held = false;           // and for the owner's new blocks
    std::vector<QList<ShelfItem>> m_retired;
    static constexpr std::size_t kRetiredLists = 4;
};

}  // namespace sw::detail
