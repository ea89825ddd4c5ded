#include "Stashwell/Window/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace sw::app::WindowPlacement {

QPoint inside(QPoint wanted, QSize size, QRect available)
{
    const int x = std::max(available.left(), std::min(wanted.x(), available.left() + available.width() - size.width()));
    const int y = std::max(available.top(), std::min(wanted.y(), available.top() + available.height() - size.height()));
    return QPoint(x, y);
}

QPoint centredInside(QRect over, QSize size, QRect available)
{
    const QPoint centred(over.left() + (over.width() - size.width()) / 2, over.top() + (over.height() - size.height()) / 2);
    return inside(centred, size, available);
}

void keepInside(QWidget &window, const QWidget *over)
{
    const QScreen *screen = over && over->isVisible() ? over->screen() : window.screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    // Before the window manager framed it, the frame is the window alone: count a title bar.
    QSize frame = window.frameGeometry().size();
    if (window.frameGeometry() == window.geometry())
        frame += QSize(2 * kAssumedBorder, kAssumedTitleBar + kAssumedBorder);
    const QPoint corner = !window.isVisible() && over && over->isVisible()
        ? centredInside(over->frameGeometry(), frame, available)
        : inside(window.frameGeometry().topLeft(), frame, available);
    if (corner != window.pos())
        window.move(corner);
}

}  // namespace sw::app::WindowPlacement
