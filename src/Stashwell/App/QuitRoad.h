#pragma once

// The one way the application ends. Every way in takes it: File ▸ Quit and Ctrl+Q from any
// window, the tray's Quit, SIGTERM, SIGINT and SIGHUP, the Relaunch after a language change, the
// session manager's end of session, and any QCoreApplication::quit() (which reaches the
// application as a Quit event that this road takes over).
//
// Qt's own quit asks each top-level window to close and gives up at the first that refuses, and
// the library window refuses while a tray keeps the application alive (it hides instead). So the
// road never asks: it closes the open popups, hides every window (modal sheets and dialogs
// included, which also ends their event loops), puts every edit on disk, lets go of the
// single-instance lock and socket, and only then tells the event loops to end. Nothing on the
// way can refuse, so the process ends whatever was on screen.
//
// Before the session manager's end of session (commitDataRequest) the edits are put on disk too;
// the session may still be cancelled, so nothing else happens there.

#include <QObject>

#include <functional>

namespace sw::app {

class QuitRoad final : public QObject {
    Q_OBJECT
public:
    struct Steps {
        // Puts every edit on disk (waits for the archive's last write).
        std::function<void()> save;
        // Lets go of what only one process may hold (the single-instance lock and socket).
        std::function<void()> release;
        // Ends the event loops; QCoreApplication::exit(0) unless given.
        std::function<void()> exit;
    };

    // Takes over the application's Quit events and follows its session manager; the application
    // must exist.
    explicit QuitRoad(Steps steps, QObject *parent = nullptr);
    ~QuitRoad() override;

    // Ends the application. A second call while ending tells the event loops again.
    void quit();
    // Whether the road has been taken.
    bool isEnding() const { return m_ending; }

signals:
    // The road was taken: the windows are hidden, the steps not yet run.
    void ending();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void closeWindows();

    Steps m_steps;
    bool m_ending = false;
};

}  // namespace sw::app
