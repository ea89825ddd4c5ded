#include "ProxyServer.h"

#include "SocketPipe.h"

#include <QTcpSocket>

namespace sw::test {

ProxyServer::ProxyServer(QNetworkProxy::ProxyType type, QObject *parent) : QObject(parent), m_type(type)
{
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            ++m_connections;
            accept(socket);
        }
    });
}

ProxyServer::~ProxyServer() = default;

bool ProxyServer::listen() { return m_server.listen(QHostAddress::LocalHost, 0); }

quint16 ProxyServer::port() const { return m_server.serverPort(); }

QNetworkProxy ProxyServer::networkProxy() const { return QNetworkProxy(m_type, QStringLiteral("127.0.0.1"), port()); }

void ProxyServer::clearRecords() { m_connections = 0; }

ProxyConnection::ProxyConnection(QTcpSocket *client, ProxyServer *proxy) : QObject(proxy), m_client(client)
{
    client->setParent(this);
    connect(client, &QTcpSocket::readyRead, this, [this] { read(); });
    connect(client, &QTcpSocket::disconnected, this, [this] {
        if (!m_piped)
            deleteLater();
    });
}

void ProxyConnection::reach(const Endpoint &endpoint, std::function<void(QTcpSocket *)> connected,
                            std::function<void()> failed)
{
    auto *upstream = new QTcpSocket(this);
    connect(upstream, &QTcpSocket::connected, this, [this, upstream, connected = std::move(connected)] {
        connected(upstream);
        upstream->write(m_buffer);
        m_buffer.clear();
        m_piped = true;
        new SocketPipe(m_client, upstream, parent());
        deleteLater();
    });
    connect(upstream, &QTcpSocket::errorOccurred, this, [this, failed = std::move(failed)] {
        if (!m_piped)
            failed();
    });
    upstream->connectToHost(endpoint.address, endpoint.port);
}

}  // namespace sw::test
