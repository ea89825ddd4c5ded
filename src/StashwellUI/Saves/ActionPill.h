#pragma once

// The pill of a save's main action: a pill button in the action's style, with the download's
// progress bar while it runs. While the action is a running download the pill is disabled and a
// press does nothing; otherwise a press reports the action it shows.
//
// ActionPill paints the pill for views that draw many saves in one widget (the shelf's cards and
// rows): they hand it the rectangle and the interaction state, ask it whether a point hits it, and
// let it report a press. ActionPillButton (ActionPillButton.h) is the same pill as a widget of its
// own.

#include "StashwellUI/Saves/ActionStyle.h"
#include "StashwellUI/Controls/ControlPainting.h"
#include "StashwellUI/Controls/PillButton.h"
#include "Shelf/ShelfItem.h"

#include <QRectF>
#include <QSizeF>

#include <functional>

class QPainter;

namespace sw {

class ActionPill {
public:
    explicit ActionPill(const Action &action);

    const Action &action() const { return m_action; }
    const ActionStyle &style() const { return m_style; }
    bool isDownloading() const { return std::holds_alternative<Action::Downloading>(m_action.value()); }

    // What the pill button shows: the style, and the fraction as progress while downloading
    // (handed on unchanged; the button clamps it where it draws it).
    const PillButton::Content &content() const { return m_content; }

    // The state the pill is drawn and pressed in: the given one, disabled while downloading.
    ControlState effectiveState(ControlState state) const;

    // The size the pill asks for: its label with the pill's insets, at least 32 high. It takes
    // any greater width it is given.
    QSizeF sizeHint() const;

    void paint(QPainter &painter, const QRectF &rect, const ControlState &state) const;

    // Whether `point` lies in the capsule drawn in `rect`.
    bool hitTest(const QRectF &rect, const QPointF &point) const;

    // A press on the pill: calls `perform` once with the pill's action, except while the action
    // is a running download, when nothing happens. Returns whether `perform` was called.
    bool press(const std::function<void(const Action &)> &perform) const;

private:
    Action m_action;
    ActionStyle m_style;
    PillButton::Content m_content;
};

}  // namespace sw
