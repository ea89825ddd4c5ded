#include "StashwellUI/Inspector/InspectorFrame.h"

#include "StashwellUI/Controls/PlainScrollArea.h"
#include "StashwellUI/Design/SoftScrollEdges.h"
#include "StashwellUI/Design/Tokens.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace sw {

InspectorHeader makeInspectorHeader(QWidget *owner, double height, double padding, double spacing)
{
    InspectorHeader header;
    header.widget = new QWidget(owner);
    header.widget->setFixedHeight(int(height));
    header.row = new QHBoxLayout(header.widget);
    header.row->setContentsMargins(int(padding), 0, int(padding), 0);
    if (spacing >= 0)
        header.row->setSpacing(int(spacing));
    header.title = new QLabel(header.widget);
    header.title->setFont(Tokens::Typography::headline.font());
    header.title->setTextFormat(Qt::PlainText);
    header.row->addWidget(header.title);
    header.row->addStretch(1);
    return header;
}

InspectorColumn makeInspectorColumn(QWidget *owner, double padding, double bottomExtra, double spacing)
{
    InspectorColumn made;
    made.scroll = new PlainScrollArea(owner);
    made.scroll->setFrameShape(QFrame::NoFrame);
    made.scroll->setWidgetResizable(true);
    made.scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    made.scroll->viewport()->setAutoFillBackground(false);
    made.content = new QWidget;
    made.column = new QVBoxLayout(made.content);
    const int pad = int(padding);
    made.column->setContentsMargins(pad, pad, pad, pad + int(bottomExtra));
    made.column->setSpacing(int(spacing));
    return made;
}

void finishInspectorColumn(const InspectorColumn &column, QVBoxLayout *outer)
{
    column.scroll->setWidget(column.content);
    // The column lies on the inspector column's own ground (setWidget() gives it a fill).
    column.content->setAutoFillBackground(false);
    outer->addWidget(column.scroll, 1);
    // The bands fade only what scrolls under them: at rest the author line or the media at the top
    // stays clear, with no blur of the avatar spreading into the empty band above it.
    auto *edges = new SoftScrollEdges(column.scroll->viewport(), true, true);
    edges->followScroll(column.scroll->verticalScrollBar());
}

}  // namespace sw
