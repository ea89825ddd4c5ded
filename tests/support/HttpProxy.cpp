#include "HttpProxy.h"

#include "HttpServer.h"
#include "SocketPipe.h"

#include <QTcpSocket>
#include <QUrl>

namespace sw::test {

namespace {

// Headers that belong to the hop between client and proxy.
bool isHopHeader(const QByteArray &name)
{
    static const QList<QByteArray> hop{"connection", "proxy-connection", "keep-alive", "proxy-authorization"};
    return hop.contains(name.toLower());
}

}  // namespace

// One client connection: reads the request head, then either forwards that request (asking the
// server to close after it) or opens a CONNECT tunnel; from then on bytes are piped both ways.
class HttpProxyConnection : public QObject {
public:
    HttpProxyConnection(QTcpSocket *client, HttpProxy *proxy) : QObject(proxy), m_client(client), m_proxy(proxy)
    {
        client->setParent(this);
        connect(client, &QTcpSocket::readyRead, this, &HttpProxyConnection::read);
        connect(client, &QTcpSocket::disconnected, this, [this] {
            if (!m_piped)
                deleteLater();
        });
    }

private:
    void read()
    {
        if (m_piped || m_started)
            return;
        m_buffer += m_client->readAll();
        const auto head = readRequestHead(m_buffer);
        if (!head)
            return;
        m_started = true;
        const HttpRequest &request = head->first;
        m_buffer.remove(0, head->second);

        HttpProxy::Visit visit{request.method, request.target, {}, 0};
        const bool tunnel = request.method == "CONNECT";
        QByteArray upstreamHead;
        if (tunnel) {
            const qsizetype colon = request.target.lastIndexOf(':');
            visit.host = request.target.left(colon);
            visit.port = quint16(request.target.mid(colon + 1).toUInt());
        } else {
            const QUrl url = QUrl::fromEncoded(request.target);
            visit.host = url.host(QUrl::FullyEncoded).toUtf8();
            visit.port = quint16(url.port(80));
            QByteArray origin = url.path(QUrl::FullyEncoded).toUtf8();
            if (origin.isEmpty())
                origin = "/";
            if (url.hasQuery())
                origin += '?' + url.query(QUrl::FullyEncoded).toUtf8();
            upstreamHead = request.method + ' ' + origin + ' ' + request.version + "\r\n";
            for (const auto &[name, value] : request.headers)
                if (!isHopHeader(name))
                    upstreamHead += name + ": " + value + "\r\n";
            upstreamHead += "Connection: close\r\n\r\n";
        }
        m_proxy->m_visits.append(visit);
        if (m_proxy->m_silent)
            return;

        const auto endpoint = m_proxy->m_hosts.resolve(visit.host, visit.port);
        if (request.method.isEmpty() || visit.host.isEmpty() || !endpoint) {
            fail();
            return;
        }
        auto *upstream = new QTcpSocket(this);
        connect(upstream, &QTcpSocket::connected, this, [this, upstream, tunnel, upstreamHead] {
            if (tunnel)
                m_client->write("HTTP/1.1 200 Connection Established\r\n\r\n");
            else
                upstream->write(upstreamHead);
            upstream->write(m_buffer);
            m_buffer.clear();
            m_piped = true;
            new SocketPipe(m_client, upstream, parent());
            deleteLater();
        });
        connect(upstream, &QTcpSocket::errorOccurred, this, [this] {
            if (!m_piped)
                fail();
        });
        upstream->connectToHost(endpoint->address, endpoint->port);
    }

    void fail()
    {
        m_client->write("HTTP/1.1 502 Bad Gateway\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        m_client->disconnectFromHost();
    }

    QTcpSocket *m_client;
    HttpProxy *m_proxy;
    QByteArray m_buffer;
    bool m_started = false;
    bool m_piped = false;
};

HttpProxy::HttpProxy(QObject *parent) : QObject(parent)
{
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            ++m_connections;
            new HttpProxyConnection(socket, this);
        }
    });
}

HttpProxy::~HttpProxy() = default;

bool HttpProxy::listen() { return m_server.listen(QHostAddress::LocalHost, 0); }

quint16 HttpProxy::port() const { return m_server.serverPort(); }

QNetworkProxy HttpProxy::networkProxy() const
{
    return QNetworkProxy(QNetworkProxy::HttpProxy, QStringLiteral("127.0.0.1"), port());
}

void HttpProxy::clearRecords()
{
    m_visits.clear();
    m_connections = 0;
}

}  // namespace sw::test
