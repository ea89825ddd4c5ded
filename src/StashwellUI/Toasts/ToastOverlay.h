#pragma once

// Shows the toast of a ToastController at the bottom centre of a host widget (the library
// window's content), 46 above its bottom edge, over everything else in the host. A message that
// appears moves in from the host's bottom edge while it fades in; a cleared one leaves the same way
// in reverse; a replaced one changes in place. The bubble's Undo button presses the controller's
// undo. When the overlay goes away while a message it showed is still up, that message is cleared,
// so that no toast outlives the view that carried it.

#include "StashwellUI/Toasts/ToastController.h"

#include <QPointer>
#include <QWidget>

class QGraphicsOpacityEffect;
class QVariantAnimation;

namespace sw {

class ToastBubble;

class ToastOverlay : public QWidget {
    Q_OBJECT
public:
    static constexpr double bottomPadding = 46;
    static constexpr double sideRoom = 16;   // the least room kept on each side of a long message

    ToastOverlay(ToastController *controller, QWidget *host);
    ~ToastOverlay() override;

    ToastBubble &bubble() { return *m_bubble; }
    // How far in the bubble is: 0 hidden below the host's edge, 1 in place.
    double presence() const { return m_presence; }

    // Where the bubble stands when fully in, and where it starts from, in the host's coordinates.
    QRect restingGeometry() const;
    QRect hiddenGeometry() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void follow();
    void moveTo(double presence);
    void animateTo(double presence);

    QPointer<ToastController> m_controller;
    QPointer<QWidget> m_host;
    ToastBubble *m_bubble = nullptr;
    QGraphicsOpacityEffect *m_fade = nullptr;
    QVariantAnimation *m_motion = nullptr;
    double m_presence = 0;
    double m_target = 0;
    std::uint64_t m_shownGeneration = 0;
};

}  // namespace sw
