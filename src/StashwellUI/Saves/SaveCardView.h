#pragma once

// One save card as a widget of its own: it keeps the card's hover (brought in and out with the
// quick animation), presses and thumbnail page, loads the card's pictures, follows the window's
// page memory found in its environment, and reports the card's requests as intents. A new
// item, moment or selection repaints only when the card's equality says it changed.

#include "StashwellUI/Saves/HoverPress.h"
#include "StashwellUI/Saves/SaveCard.h"

#include <QPointer>
#include <QWidget>

class QVariantAnimation;

namespace sw {

class Paging;
class PictureFeed;

class SaveCardView : public QWidget {
    Q_OBJECT
public:
    static constexpr double defaultWidth = 260;

    explicit SaveCardView(const SaveCard &card, QWidget *parent = nullptr);

    const SaveCard &card() const { return m_card; }
    // Takes the card when it differs from the one shown (by the card's equality); returns whether
    // it did, and so repaints.
    bool setCard(const SaveCard &card);

    const SaveCard::ViewState &viewState() const { return m_state; }
    Paging *paging() const { return m_paging; }
    // How many times the card has been painted.
    int paintCount() const { return m_paints; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // A click on the card: select (with the click's modifiers), its action, or trash.
    void intentRaised(const sw::SaveIntent &intent);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void findPaging();
    void setHovered(bool hovered);
    void pointerAt(const QPointF &point);
    // Writes the pointer's parts into the view state; returns whether it changed.
    bool showPointer();
    QRectF cardRect() const;
    SaveCard::Part partAt(const QPointF &point) const;

    SaveCard m_card;
    SaveCard::ViewState m_state;
    HoverPress<SaveCard::Part> m_pointer;
    PictureFeed *m_feed = nullptr;
    QVariantAnimation *m_hover = nullptr;
    QPointer<Paging> m_paging;
    int m_paints = 0;
};

}  // namespace sw
