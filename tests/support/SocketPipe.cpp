#include "SocketPipe.h"

namespace sw::test {

SocketPipe::SocketPipe(QTcpSocket *a, QTcpSocket *b, QObject *parent)
    : QObject(parent), m_a(a), m_b(b)
{
    a->setParent(this);
    b->setParent(this);
    connect(a, &QTcpSocket::readyRead, this, [this, a, b] { forward(a, b); });
    connect(b, &QTcpSocket::readyRead, this, [this, a, b] { forward(b, a); });
    connect(a, &QTcpSocket::disconnected, this, [this, a, b] { closed(a, b); });
    connect(b, &QTcpSocket::disconnected, this, [this, a, b] { closed(b, a); });
    // Bytes that arrived before the pipe stood.
    forward(a, b);
    forward(b, a);
    if (a->state() == QAbstractSocket::UnconnectedState)
        closed(a, b);
    else if (b->state() == QAbstractSocket::UnconnectedState)
        closed(b, a);
}

void SocketPipe::forward(QTcpSocket *from, QTcpSocket *to)
{
    if (from->bytesAvailable() > 0 && to->state() == QAbstractSocket::ConnectedState)
        to->write(from->readAll());
}

void SocketPipe::closed(QTcpSocket *side, QTcpSocket *other)
{
    forward(side, other);
    if (other->state() != QAbstractSocket::UnconnectedState)
        other->disconnectFromHost();   // writes what is pending first
    if (side->state() == QAbstractSocket::UnconnectedState
        && other->state() == QAbstractSocket::UnconnectedState)
        deleteLater();
}

}  // namespace sw::test
