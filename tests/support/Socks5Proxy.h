#pragma once

// A SOCKS5 proxy on 127.0.0.1 for tests (no authentication, CONNECT only). Host names are resolved
// by the proxy through its HostMap, so a client that reaches a mapped name proves that its
// traffic, name lookup included, went through this proxy.

#include "HostMap.h"

#include <QByteArray>
#include <QList>
#include <QNetworkProxy>
#include <QObject>
#include <QTcpServer>

namespace sw::test {

class Socks5Proxy : public QObject {
    Q_OBJECT
public:
    struct Visit {
        QByteArray host;      // a name as the client sent it, or an address in text
        quint16 port = 0;
        bool byName = false;  // the client left the name lookup to the proxy
    };

    explicit Socks5Proxy(QObject *parent = nullptr);
    ~Socks5Proxy() override;

    bool listen();
    quint16 port() const;
    QNetworkProxy networkProxy() const;

    HostMap &hosts() { return m_hosts; }
    // Accept connections but never answer them.
    void setSilent(bool silent) { m_silent = silent; }

    const QList<Visit> &visits() const { return m_visits; }
    int visitCount() const { return int(m_visits.size()); }
    int connectionCount() const { return m_connections; }
    void clearRecords();

private:
    friend class Socks5Connection;
    QTcpServer m_server;
    HostMap m_hosts;
    bool m_silent = false;
    QList<Visit> m_visits;
    int m_connections = 0;
};

}  // namespace sw::test
