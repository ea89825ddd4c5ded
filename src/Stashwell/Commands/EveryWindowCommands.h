#pragma once

// The application's own commands (Save Link, Settings, Close, Quit) work from every window of the
// program, not only from the library window whose menus hold them: each becomes an application
// shortcut and is added to every top-level window as that window is shown, the settings window,
// the modal Save Link sheet and the quick-save popup included. Qt fires an application shortcut
// only for a window that no modal window blocks, so a modal sheet needs the actions itself; a
// popup menu (which takes the keyboard for its own keys) is left alone.

#include <QList>
#include <QObject>
#include <QPointer>

class QAction;
class QWidget;

namespace sw::app {

class EveryWindowCommands final : public QObject {
    Q_OBJECT
public:
    // Follows the application's windows (the application must exist) until the object goes.
    explicit EveryWindowCommands(QList<QAction *> actions, QObject *parent = nullptr);
    ~EveryWindowCommands() override;

    // Adds the actions to a window now (the windows already shown when the object is made).
    void reach(QWidget &window) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QList<QPointer<QAction>> m_actions;
};

}  // namespace sw::app
