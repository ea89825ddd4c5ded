#pragma once

// What the test proxies share: a server listening on 127.0.0.1 on a free port, the names it
// resolves (HostMap), the silence a test can ask for, the count of connections it accepted, and
// the life of one client connection: read the client's request, reach the destination, then pipe
// bytes both ways. Each proxy adds its protocol and the record of its visits.

#include "HostMap.h"

#include <QByteArray>
#include <QNetworkProxy>
#include <QObject>
#include <QTcpServer>

#include <functional>

class QTcpSocket;

namespace sw::test {

class ProxyServer : public QObject {
    Q_OBJECT
public:
    ~ProxyServer() override;

    bool listen();
    quint16 port() const;
    // A QNetworkProxy pointing at this proxy.
    QNetworkProxy networkProxy() const;

    HostMap &hosts() { return m_hosts; }
    const HostMap &hosts() const { return m_hosts; }
    // Accept connections but never answer them.
    void setSilent(bool silent) { m_silent = silent; }
    bool isSilent() const { return m_silent; }

    int connectionCount() const { return m_connections; }
    // Forgets the connections and visits seen so far.
    virtual void clearRecords();

protected:
    ProxyServer(QNetworkProxy::ProxyType type, QObject *parent);
    // Makes the object that serves one accepted client.
    virtual void accept(QTcpSocket *client) = 0;

private:
    QNetworkProxy::ProxyType m_type;
    QTcpServer m_server;
    HostMap m_hosts;
    bool m_silent = false;
    int m_connections = 0;
};

// One client of a proxy, a child of the proxy. It owns the client socket until a tunnel stands
// and goes away when the client leaves before that.
class ProxyConnection : public QObject {
protected:
    ProxyConnection(QTcpSocket *client, ProxyServer *proxy);

    // The client sent more bytes (they are not read yet).
    virtual void read() = 0;

    // Connects to `endpoint`. Once connected, `connected` writes what must go first (a reply to the
    // client, or the request upstream), then the bytes the client sent ahead (the buffer) go
    // upstream, the two sockets are piped and this object goes away. `failed` runs when the
    // destination cannot be reached.
    void reach(const Endpoint &endpoint, std::function<void(QTcpSocket *upstream)> connected, std::function<void()> failed);

    bool isPiped() const { return m_piped; }

    QTcpSocket *m_client;
    QByteArray m_buffer;

private:
    bool m_piped = false;
};

}  // namespace sw::test
