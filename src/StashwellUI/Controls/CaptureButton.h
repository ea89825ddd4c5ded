#pragma once

// The wide button of the library sidebar that invites the user to paste a link: a link symbol,
// "Paste a link" and, at the trailing end, a key cap with this platform's paste shortcut, inside a
// dashed rounded well as wide as its container and 36 high. The whole rectangle takes presses,
// reported by clicked(). No hover or pressed look beyond the plain style's.

#include "StashwellUI/Controls/Pressable.h"

#include <QString>

namespace sw {

class CaptureButton : public Pressable {
    Q_OBJECT
public:
    static constexpr double controlHeight = 36;
    static constexpr double leadingPadding = 10;
    static constexpr double trailingPadding = 6;
    static constexpr double spacing = 8;
    static constexpr double radius = 10;

    explicit CaptureButton(QWidget *parent = nullptr);

    // The shortcut shown in the key cap: Ctrl+V here.
    static QString shortcutText();
    QString title() const;

    // Where the key cap sits in a button of `bounds`.
    static QRectF keyCapRect(const QRectF &bounds);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    QString accessibleText() const override { return title(); }

protected:
    void paintControl(QPainter &painter, const QRectF &rect, const ControlState &state) override;
};

}  // namespace sw
