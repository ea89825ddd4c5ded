#include "Stashwell/Commands/EveryWindowCommands.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace sw::app {

EveryWindowCommands::EveryWindowCommands(QList<QAction *> actions, QObject *parent) : QObject(parent)
{
    for (QAction *action : actions) {
        action->setShortcutContext(Qt::ApplicationShortcut);
        m_actions.append(action);
    }
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->isVisible())
            reach(*window);
    }
    if (QCoreApplication *app = QCoreApplication::instance())
        app->installEventFilter(this);
}

EveryWindowCommands::~EveryWindowCommands()
{
    if (QCoreApplication *app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

void EveryWindowCommands::reach(QWidget &window) const
{
    const Qt::WindowType type = window.windowType();
    if (type == Qt::Popup || type == Qt::ToolTip || type == Qt::Desktop)
        return;
    const QList<QAction *> has = window.actions();
    for (const QPointer<QAction> &action : m_actions) {
        if (action && !has.contains(action.data()))
            window.addAction(action.data());
    }
}

bool EveryWindowCommands::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto *widget = static_cast<QWidget *>(watched);
        if (widget->isWindow())
            reach(*widget);
    }
    return false;
}

}  // namespace sw::app
