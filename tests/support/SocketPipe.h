#pragma once

// Joins two connected sockets: whatever one receives is written to the other, and when one side
// closes, the other is closed once its pending bytes are written. Used by the proxies once a
// tunnel stands.

#include <QObject>
#include <QPointer>
#include <QTcpSocket>

namespace sw::test {

class SocketPipe : public QObject {
    Q_OBJECT
public:
    // Takes ownership of both sockets; deletes itself (and them) when both sides are closed.
    SocketPipe(QTcpSocket *a, QTcpSocket *b, QObject *parent);

private:
    void forward(QTcpSocket *from, QTcpSocket *to);
    void closed(QTcpSocket *side, QTcpSocket *other);

    QPointer<QTcpSocket> m_a;
    QPointer<QTcpSocket> m_b;
};

}  // namespace sw::test
