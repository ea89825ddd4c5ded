#pragma once

// An HTTP proxy on 127.0.0.1 for tests: forwards requests in absolute form ("GET http://host/path")
// and opens tunnels for CONNECT. It resolves only the names mapped in its HostMap and loopback
// addresses, so traffic to a mapped name proves it went through this proxy.

#include "HostMap.h"

#include <QByteArray>
#include <QList>
#include <QNetworkProxy>
#include <QObject>
#include <QTcpServer>

namespace sw::test {

class HttpProxy : public QObject {
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

    bool listen();
    quint16 port() const;
    // A QNetworkProxy pointing at this proxy.
    QNetworkProxy networkProxy() const;

    HostMap &hosts() { return m_hosts; }
    // Accept connections but never answer them.
    void setSilent(bool silent) { m_silent = silent; }

    const QList<Visit> &visits() const { return m_visits; }
    int visitCount() const { return int(m_visits.size()); }
    int connectionCount() const { return m_connections; }
    void clearRecords();

private:
    friend class HttpProxyConnection;
    QTcpServer m_server;
    HostMap m_hosts;
    bool m_silent = false;
    QList<Visit> m_visits;
    int m_connections = 0;
};

}  // namespace sw::test
