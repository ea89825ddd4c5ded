#pragma once

// One process per library document: the library must never have two writers. The first process
// holds a lock file beside the document and listens on a local socket; a later launch finds the
// lock held, asks the running process over the socket to show its library window, and ends. A
// lock left by a process that no longer runs (a crash) is taken over.
//
// The socket's name is made from the lock's path, so libraries in different homes (and users)
// never meet.
//
// The request is a line "show\n". Before it, a later launch passes on what the desktop gave it to
// bring a window to the front (a startup id on X11, an activation token on Wayland), one line
// each: "startup-id <id>\n", "activation-token <token>\n". A process that does not know a line
// ignores it, so an old request and an old process both still work.

#include <QByteArray>
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
    // What the desktop gave a launch to let its window come to the front; empty when nothing.
    struct Activation {
        QByteArray startupId;         // DESKTOP_STARTUP_ID (X11)
        QByteArray activationToken;   // XDG_ACTIVATION_TOKEN (Wayland)

        // Read from the environment; call it before the QGuiApplication exists, which takes the
        // startup id away from the environment.
        static Activation fromEnvironment();
        bool isEmpty() const { return startupId.isEmpty() && activationToken.isEmpty(); }
        friend bool operator==(const Activation &, const Activation &) = default;
    };

    // The lines a later launch sends: the activation's, then the show request.
    static QByteArray request(const Activation &activation);

    // Reads one connection's lines as they come.
    class RequestReader {
    public:
        enum class Line { show, taken, ignored };
        // One line (with its "\n"); `show` when it asks for the window.
        Line read(const QByteArray &line);
        // What the lines so far passed on.
        const Activation &activation() const { return m_activation; }

    private:
        Activation m_activation;
    };
    // The longest line read; a longer one ends the connection.
    static constexpr qsizetype kLongestLine = 1024;

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
    Role start(std::chrono::milliseconds patience = std::chrono::seconds(10), Activation activation = {});
    // Stops listening and lets go of the lock, so that a new process can take over at once (the
    // application calls it on its way out; the destructor does it too).
    void release();

    QString lockPath() const { return m_lockPath; }
    // The local socket's name for a lock path.
    static QString serverName(const QString &lockPath);

    // The message a secondary sends, and the primary's answer.
    static constexpr const char *kShowRequest = "show\n";
    static constexpr const char *kAnswer = "ok\n";

signals:
    // A later launch asked for the library window, passing on what its desktop gave it.
    void showRequested(const sw::app::SingleInstance::Activation &activation);

private:
    bool listen();
    bool askRunningInstance(const Activation &activation);

    QString m_lockPath;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer *m_server = nullptr;
};

}  // namespace sw::app
