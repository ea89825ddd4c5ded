#include "Stashwell/Pages/QuickSave/QuickSavePopup.h"

#include "StashwellUI/Controls/DialogWindow.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"
#include "StashwellUI/QuickSave/QuickSavePopover.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace sw::app {

QuickSavePopup::QuickSavePopup(QWidget *parent)
    : QWidget(parent, sw::dialogWindowFlags | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_popover(new QuickSavePopover)
{
    // A dialog of its own: closing it never ends the application, whatever other window is open.
    setAttribute(Qt::WA_QuitOnClose, false);
    setObjectName(QStringLiteral("quickSave"));
    setWindowTitle(QStringLiteral("Stashwell"));
    auto *layout = new QVBoxLayout(this);
    // A frameless window gets no edge from the desktop: it draws a hairline of its own, so that it
    // stands apart from a window of the same colour under it.
    layout->setContentsMargins(kEdge, kEdge, kEdge, kEdge);
    layout->addWidget(m_popover);
    connect(&sw::Theme::instance(), &sw::Theme::changed, this, qOverload<>(&QWidget::update));
    // As tall as the popover wants, at its width.
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QuickSavePopup::~QuickSavePopup() = default;

void QuickSavePopup::showNear(QPoint pointer)
{
    adjustSize();
    const QScreen *screen = QGuiApplication::screenAt(pointer);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen) {
        const QRect available = screen->availableGeometry();
        move(platformPlacesWindows() ? placement(size(), pointer, available) : centred(size(), available));
    }
    show();
    raise();
    activateWindow();
}

QPoint QuickSavePopup::placement(QSize size, QPoint pointer, QRect available)
{
    int x = pointer.x() - size.width() / 2;
    int y = pointer.y() < available.center().y() ? pointer.y() + kPointerGap : pointer.y() - kPointerGap - size.height();
    // Inside the free area; a window larger than the area keeps its top left corner in it.
    x = std::max(available.left(), std::min(x, available.left() + available.width() - size.width()));
    y = std::max(available.top(), std::min(y, available.top() + available.height() - size.height()));
    return QPoint(x, y);
}

QPoint QuickSavePopup::centred(QSize size, QRect available)
{
    return QPoint(available.left() + std::max(0, (available.width() - size.width()) / 2),
                  available.top() + std::max(0, (available.height() - size.height()) / 2));
}

bool QuickSavePopup::platformPlacesWindows()
{
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

void QuickSavePopup::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Tokens::Colors::window());
    painter.setPen(QPen(Tokens::Colors::lineStrong(), kEdge));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(rect()).adjusted(kEdge / 2.0, kEdge / 2.0, -kEdge / 2.0, -kEdge / 2.0));
}

void QuickSavePopup::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    emit shown();
}

void QuickSavePopup::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    emit hidden();
}

void QuickSavePopup::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    // Focus lost to another window closes the popup; a menu open over it (the collection choice)
    // does not count.
    if (event->type() == QEvent::ActivationChange && isVisible() && !isActiveWindow()
        && !QApplication::activePopupWidget())
        hide();
}

void QuickSavePopup::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        hide();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace sw::app
