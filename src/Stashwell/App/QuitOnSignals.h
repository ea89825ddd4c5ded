#pragma once

// SIGTERM, SIGINT and SIGHUP end the application as File ▸ Quit does: on the main thread, through
// the application's one way out (QuitRoad), which puts the last edit on disk and lets go of the
// lock whatever windows are open. The handler only writes one byte to a pipe that the main thread
// watches.

#include <QObject>

#include <functional>

class QSocketNotifier;

namespace sw::app {

class QuitOnSignals final : public QObject {
    Q_OBJECT
public:
    // Installs the handlers; `quit` runs on the main thread for each signal received.
    explicit QuitOnSignals(std::function<void()> quit, QObject *parent = nullptr);
    ~QuitOnSignals() override;

    bool isInstalled() const { return m_notifier != nullptr; }

private:
    std::function<void()> m_quit;
    QSocketNotifier *m_notifier = nullptr;
};

}  // namespace sw::app
