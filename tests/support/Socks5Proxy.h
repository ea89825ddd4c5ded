#pragma once

// A SOCKS5 proxy on 127.0.0.1 for tests (no authentication, CONNECT only). Host names are resolved
// by the proxy through its HostMap, so a client that reaches a mapped name proves that its
// traffic, name lookup included, went through this proxy.

#include "ProxyServer.h"

#include <QByteArray>
#include <QList>

namespace sw::test {

class Socks5Proxy : public ProxyServer {
    Q_OBJECT
public:
    struct Visit {
        QByteArray host;      // a name as the client sent it, or an address in text
        quint16 port = 0;
        bool byName = false;  // the client left the name lookup to the proxy
    };

    explicit Socks5Proxy(QObject *parent = nullptr);
    ~Socks5Proxy() override;

    const QList<Visit> &visits() const { return m_visits; }
    int visitCount() const { return int(m_visits.size()); }
    void clearRecords() override;

protected:
    void accept(QTcpSocket *client) override;

private:
    friend class Socks5Connection;
    QList<Visit> m_visits;
};

}  // namespace sw::test
