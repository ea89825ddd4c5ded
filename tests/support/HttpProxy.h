#pragma once

// An HTTP proxy on 127.0.0.1 for tests: forwards requests in absolute form ("GET http://host/path")
// and opens tunnels for CONNECT. It resolves only the names mapped in its HostMap and loopback
// addresses, so traffic to a mapped name proves it went through this proxy.

#include "ProxyServer.h"

#include <QByteArray>
#include <QList>

namespace sw::test {

class HttpProxy : public ProxyServer {
    Q_OBJECT
public:
    struct Visit {
        QByteArray method;   // "GET", "HEAD", "CONNECT", ...
        QByteArray target;   // as the client sent it
        QByteArray host;     // the host the client asked for
        quint16 port = 0;
    };

    explicit HttpProxy(QObject *parent = nullptr);
    ~HttpProxy() override;

    const QList<Visit> &visits() const { return m_visits; }
    int visitCount() const { return int(m_visits.size()); }
    void clearRecords() override;

protected:
    void accept(QTcpSocket *client) override;

private:
    friend class HttpProxyConnection;
    QList<Visit> m_visits;
};

}  // namespace sw::test
