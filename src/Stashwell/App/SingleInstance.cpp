#include "Stashwell/App/SingleInstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QThread>

#include <unistd.h>

namespace sw::app {

SingleInstance::SingleInstance(QString lockPath, QObject *parent) : QObject(parent), m_lockPath(std::move(lockPath)) {}

SingleInstance::~SingleInstance()
{
    if (m_server)
        m_server->close();
}

QString SingleInstance::serverName(const QString &lockPath)
{
    const QByteArray digest =
        QCryptographicHash::hash(QFileInfo(lockPath).absoluteFilePath().toUtf8(), QCryptographicHash::Sha256);
    return QStringLiteral("stashwell-%1-%2").arg(::getuid()).arg(QString::fromLatin1(digest.toHex().left(16)));
}

SingleInstance::Role SingleInstance::start(std::chrono::milliseconds patience)
{
    QDir().mkpath(QFileInfo(m_lockPath).absolutePath());
    m_lock = std::make_unique<QLockFile>(m_lockPath);
    // Only a lock whose process is gone is stale; a running process holds it however long.
    m_lock->setStaleLockTime(0);

    const QDeadlineTimer deadline(patience);
    for (;;) {
        if (m_lock->tryLock(0)) {
            if (!listen())
                qWarning("Stashwell: cannot listen for later launches on %s", qPrintable(serverName(m_lockPath)));
            return Role::primary;
        }
        if (m_lock->error() != QLockFile::LockFailedError) {
            qWarning("Stashwell: cannot make the lock %s; running without it", qPrintable(m_lockPath));
            m_lock.reset();
            return Role::unguarded;
        }
        if (askRunningInstance())
            return Role::secondary;
        if (deadline.hasExpired())
            return Role::unreachable;
        QThread::msleep(100);
    }
}

bool SingleInstance::listen()
{
    const QString name = serverName(m_lockPath);
    // A socket file left by a crashed process would refuse the name; the lock says it is ours.
    QLocalServer::removeServer(name);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                while (socket->canReadLine()) {
                    const QByteArray line = socket->readLine(64);
                    if (line == kShowRequest) {
                        socket->write(kAnswer);
                        socket->flush();
                        emit showRequested();
                    }
                }
                // Nothing longer than a request is ever sent.
                if (socket->bytesAvailable() > 64)
                    socket->abort();
            });
        }
    });
    return m_server->listen(name);
}

bool SingleInstance::askRunningInstance()
{
    QLocalSocket socket;
    socket.connectToServer(serverName(m_lockPath));
    if (!socket.waitForConnected(1000))
        return false;
    socket.write(kShowRequest);
    if (!socket.waitForBytesWritten(1000))
        return false;
    // The answer tells that the request arrived; a process that is ending may not answer.
    QByteArray answer;
    while (!answer.contains('\n') && socket.waitForReadyRead(2000))
        answer += socket.readAll();
    socket.disconnectFromServer();
    return answer.startsWith(kAnswer);
}

}  // namespace sw::app
