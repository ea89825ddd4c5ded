#include "Stashwell/App/QuitRoad.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QSessionManager>
#include <QWidget>

namespace sw::app {

QuitRoad::QuitRoad(Steps steps, QObject *parent) : QObject(parent), m_steps(std::move(steps))
{
    QCoreApplication *app = QCoreApplication::instance();
    Q_ASSERT(app);
    app->installEventFilter(this);
    if (auto *gui = qobject_cast<QGuiApplication *>(app)) {
        connect(gui, &QGuiApplication::commitDataRequest, this, [this](QSessionManager &) {
            if (m_steps.save)
                m_steps.save();
        });
    }
}

QuitRoad::~QuitRoad()
{
    if (QCoreApplication *app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

bool QuitRoad::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Quit && watched == QCoreApplication::instance()) {
        quit();
        return true;
    }
    return false;
}

void QuitRoad::closeWindows()
{
    // A popup (a menu, the tray's menu) first: it holds the pointer and keyboard. Each close takes
    // the popup off Qt's stack of popups, so the loop ends; the bound is for a popup that will not.
    for (int i = 0; i < 32; ++i) {
        QWidget *popup = QApplication::activePopupWidget();
        if (!popup)
            break;
        popup->close();
        if (popup == QApplication::activePopupWidget())
            popup->hide();
    }
    // Hidden, not closed: a hide cannot be refused, and a modal dialog's own event loop ends with it.
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (window->isVisible())
            window->hide();
    }
}

void QuitRoad::quit()
{
    if (!m_ending) {
        m_ending = true;
        closeWindows();
        emit ending();
        if (m_steps.save)
            m_steps.save();
        if (m_steps.release)
            m_steps.release();
    }
    if (m_steps.exit)
        m_steps.exit();
    else
        QCoreApplication::exit(0);
}

}  // namespace sw::app
