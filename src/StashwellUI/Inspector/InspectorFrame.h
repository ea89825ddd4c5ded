#pragma once

// The frame both inspector panels (one save's, several saves') stand in: a header that stays,
// with the title at the left and the panel's buttons at the right, over a column that scrolls on
// the inspector column's own ground, its edges softened.

class QHBoxLayout;
class QLabel;
class QScrollArea;
class QVBoxLayout;
class QWidget;

namespace sw {

struct InspectorHeader {
    QWidget *widget = nullptr;
    QHBoxLayout *row = nullptr;   // the title and a stretch; the panel adds its buttons after them
    QLabel *title = nullptr;
};

// The header of `height`, its content `padding` from the sides, its pieces `spacing` apart (the
// style's spacing when negative); a child of `owner`, not yet in a layout.
InspectorHeader makeInspectorHeader(QWidget *owner, double height, double padding, double spacing = -1);

struct InspectorColumn {
    QScrollArea *scroll = nullptr;
    QWidget *content = nullptr;
    QVBoxLayout *column = nullptr;   // the panel's blocks, `spacing` apart
};

// The scrolling column of `owner`, `padding` in from every side and `bottomExtra` more at the
// bottom. Its content goes into `column`; then finishInspectorColumn() hands it to the scroll area.
InspectorColumn makeInspectorColumn(QWidget *owner, double padding, double bottomExtra, double spacing);
// Puts the content into the scroll area, and the scroll area into `outer`, taking what room is left.
void finishInspectorColumn(const InspectorColumn &column, QVBoxLayout *outer);

}  // namespace sw
