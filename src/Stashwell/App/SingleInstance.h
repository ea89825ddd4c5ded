#pragma once

// One process per library document: the library must never have two writers. The first process
// holds a lock file beside the document and listens on a local socket; a later launch finds the
// lock held, asks the running process over the socket to show its library window, and ends. A
// lock left by a process that no longer runs (a crash) is taken over.
//
// The socket's name is made from the lock's path, so libraries in different homes (and users)
// never meet.

#include <QObject>
#include <QString>

#include <chrono>
#include <memory>

class QLocalServer;
class QLockFile;

namespace sw::app {

class SingleInstance final : public QObject {
    Q_OBJECT
public:
    enum class Role {
        primary,     // this process holds the lock and listens: it runs the application
        secondary,   // another process runs it and has been asked to show its window
        unguarded,   // the lock file cannot be made (no folder, no permission): run without it
        unreachable, // another process holds the lock and did not answer in time
    };

    explicit SingleInstance(QString lockPath, QObject *parent = nullptr);
    ~SingleInstance() override;

    // Decides the role. A secondary tries to reach the running process for `patience` (it may be
    // starting up, or ending and about to let go of the lock, which this process then takes).
    Role start(std::chrono::milliseconds patience = std::chrono::seconds(10));

    QString lockPath() const { return m_lockPath; }
    // The local socket's name for a lock path.
    static QString serverName(const QString &lockPath);

    // The message a secondary sends, and the primary's answer.
    static constexpr const char *kShowRequest = "show\n";
    static constexpr const char *kAnswer = "ok\n";

signals:
    // A later launch asked for the library window.
    void showRequested();

private:
    bool listen();
    bool askRunningInstance();

    QString m_lockPath;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer *m_server = nullptr;
};

}  // namespace sw::app
