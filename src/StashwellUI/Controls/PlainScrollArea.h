#pragma once

// A scroll area that draws nothing for having the keyboard focus. QWidget repaints a focusable
// widget whole on every focus change, children included: for a column of the window that is a
// repaint of all of it when a click moves the focus in or out.

#include <QScrollArea>

namespace sw {

class PlainScrollArea : public QScrollArea {
public:
    using QScrollArea::QScrollArea;

protected:
    void focusInEvent(QFocusEvent *) override {}
    void focusOutEvent(QFocusEvent *) override {}
};

}  // namespace sw
