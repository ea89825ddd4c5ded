#pragma once

// Panels of a fixed width whose height follows their layout (a sheet, a popover): the size their
// layout asks for at that width, and fitting the panel to it whenever the layout changes.

#include <QEvent>
#include <QLayout>
#include <QSize>
#include <QWidget>

namespace sw {

// `width` by the height `widget`'s layout takes at that width (its plain height when it has no
// height for width; none without a layout).
inline QSize layoutSizeAtWidth(const QWidget &widget, int width)
{
    QLayout *layout = widget.layout();
    if (!layout)
        return QSize(width, 0);
    const int height = layout->hasHeightForWidth() ? layout->totalHeightForWidth(width) : layout->totalSizeHint().height();
    return QSize(width, height);
}

// Fixes `widget`'s size to its size hint. Fixing the size raises layout requests of its own, which
// call this again: `fitting` (the widget's, false at rest) keeps those from fitting anew.
inline void fitToSizeHint(QWidget &widget, bool &fitting)
{
    if (fitting)
        return;
    fitting = true;
    widget.setFixedSize(widget.sizeHint());
    fitting = false;
}

// Fits `widget` to its size hint after an event that may change it, once the widget has handled
// it: its showing, and a request of its layout. Panels call it at the end of their event().
inline void fitAfter(QWidget &widget, const QEvent &event, bool &fitting)
{
    if (event.type() == QEvent::Show || event.type() == QEvent::LayoutRequest)
        fitToSizeHint(widget, fitting);
}

}  // namespace sw
