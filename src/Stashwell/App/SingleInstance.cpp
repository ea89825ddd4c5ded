#include "Stashwell/App/SingleInstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QThread>

#include <memory>
#include <utility>

#include <unistd.h>

namespace sw::app {

SingleInstance::SingleInstance(QString lockPath, QObject *parent) : QObject(parent), m_lockPath(std::move(lockPath)) {}

namespace {

constexpr QByteArrayView kStartupId = "startup-id ";
constexpr QByteArrayView kActivationToken = "activation-token ";

// A token travels on one line: printable ASCII without spaces, as desktops make them.
bool isToken(QByteArrayView value)
{
    if (value.isEmpty() || value.size() > 512)
        return false;
    for (char c : value) {
        if (c <= ' ' || c > '~')
            return false;
    }
    return true;
}

}  // namespace

SingleInstance::Activation SingleInstance::Activation::fromEnvironment()
{
    Activation activation;
    if (const QByteArray id = qgetenv("DESKTOP_STARTUP_ID"); isToken(id))
        activation.startupId = id;
    if (const QByteArray token = qgetenv("XDG_ACTIVATION_TOKEN"); isToken(token))
        activation.activationToken = token;
    return activation;
}

QByteArray SingleInstance::request(const Activation &activation)
{
    QByteArray out;
    if (isToken(activation.startupId))
        out.append(kStartupId).append(activation.startupId).append('\n');
    if (isToken(activation.activationToken))
        out.append(kActivationToken).append(activation.activationToken).append('\n');
    return out.append(kShowRequest);
}

SingleInstance::RequestReader::Line SingleInstance::RequestReader::read(const QByteArray &line)
{
    if (line == kShowRequest)
        return Line::show;
    if (!line.endsWith('\n'))
        return Line::ignored;
    const QByteArrayView text = QByteArrayView(line).chopped(1);
    for (auto [prefix, field] : {std::pair{kStartupId, &Activation::startupId},
                                 std::pair{kActivationToken, &Activation::activationToken}}) {
        if (text.startsWith(prefix) && isToken(text.sliced(prefix.size()))) {
            m_activation.*field = text.sliced(prefix.size()).toByteArray();
            return Line::taken;
        }
    }
    return Line::ignored;
}

SingleInstance::~SingleInstance() { release(); }

void SingleInstance::release()
{
    if (m_server) {
        m_server->close();
        delete m_server;
        m_server = nullptr;
    }
    if (m_lock) {
        m_lock->unlock();
        m_lock.reset();
    }
}

QString SingleInstance::serverName(const QString &lockPath)
{
    const QByteArray digest =
        QCryptographicHash::hash(QFileInfo(lockPath).absoluteFilePath().toUtf8(), QCryptographicHash::Sha256);
    return QStringLiteral("stashwell-%1-%2").arg(::getuid()).arg(QString::fromLatin1(digest.toHex().left(16)));
}

SingleInstance::Role SingleInstance::start(std::chrono::milliseconds patience, Activation activation)
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
        if (askRunningInstance(activation))
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
            auto reader = std::make_shared<RequestReader>();
            connect(socket, &QLocalSocket::readyRead, this, [this, socket, reader] {
                while (socket->canReadLine()) {
                    const QByteArray line = socket->readLine(kLongestLine + 1);
                    if (reader->read(line) == RequestReader::Line::show) {
                        socket->write(kAnswer);
                        socket->flush();
                        emit showRequested(reader->activation());
                    }
                }
                // Nothing longer than a line of a request is ever sent.
                if (socket->bytesAvailable() > kLongestLine)
                    socket->abort();
            });
        }
    });
    return m_server->listen(name);
}

bool SingleInstance::askRunningInstance(const Activation &activation)
{
    QLocalSocket socket;
    socket.connectToServer(serverName(m_lockPath));
    if (!socket.waitForConnected(1000))
        return false;
    socket.write(request(activation));
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
