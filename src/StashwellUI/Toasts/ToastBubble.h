#pragma once

// One confirmation at the foot of the window: a check mark and the message (shown as it is, never
// looked up) on a capsule with a soft shadow, and, when the message offers it, an Undo button
// with the key cap of the undo shortcut. The key cap only shows the keys: the button has no
// shortcut of its own. Pressing Undo is reported (undoPressed()); the bubble decides nothing.
//
// The bubble draws its shadow inside its own bounds: the contents margins leave room for it.

#include "StashwellUI/Controls/Pressable.h"

#include <QMargins>
#include <QString>
#include <QWidget>

namespace sw {

// "Undo" and the shortcut's key cap on a faint accent capsule.
class ToastUndoButton : public Pressable {
    Q_OBJECT
public:
    static constexpr double spacing = 5;
    static constexpr double leadingPadding = 10;
    static constexpr double trailingPadding = 4;
    static constexpr double verticalPadding = 3;

    explicit ToastUndoButton(QWidget *parent = nullptr);

    // "action.undo".
    static QString title();
    // The undo shortcut as this platform writes it ("Ctrl+Z").
    static QString keys();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
    QPainterPath hitShape() const override;
    QString accessibleText() const override { return title(); }

protected:
    void paintControl(QPainter &painter, const QRectF &rect, const ControlState &state) override;
};

class ToastBubble : public QWidget {
    Q_OBJECT
public:
    static constexpr double spacing = 10;
    static constexpr double horizontalPadding = 16;
    static constexpr double verticalPadding = 10;
    static constexpr double checkTypeSize = 12;
    static constexpr double shadowBlur = 15;
    static constexpr double shadowOffset = 12;
    static constexpr double shadowOpacity = 0.45;

    explicit ToastBubble(const QString &message = QString(), bool offersUndo = false, QWidget *parent = nullptr);

    QString message() const { return m_message; }
    void setMessage(const QString &message);
    bool offersUndo() const;
    // Shows or removes the Undo button.
    void setOffersUndo(bool offers);
    ToastUndoButton &undoButton() { return *m_undo; }

    // The capsule inside the widget; the margins around it hold the shadow.
    QRectF capsuleRect() const;
    static QMargins shadowMargins();
    // The message as drawn in the room the bubble has now: whole, or cut with an ellipsis at its
    // end when the bubble is narrower than it asks to be.
    QString shownMessage() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void undoPressed();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    double contentWidth(double messageWidth) const;
    double messageRoom() const;
    void place();

    QString m_message;
    ToastUndoButton *m_undo = nullptr;
};

}  // namespace sw
