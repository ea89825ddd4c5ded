#include "HttpProxy.h"

#include "HttpServer.h"

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
class HttpProxyConnection : public ProxyConnection {
public:
    HttpProxyConnection(QTcpSocket *client, HttpProxy *proxy) : ProxyConnection(client, proxy), m_proxy(proxy) {}

private:
    void read() override
    {
        if (isPiped() || m_started)
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
        if (m_proxy->isSilent())
            return;

        const auto endpoint = m_proxy->hosts().resolve(visit.host, visit.port);
        if (request.method.isEmpty() || visit.host.isEmpty() || !endpoint) {
            fail();
            return;
        }
        reach(
            *endpoint,
            [this, tunnel, upstreamHead](QTcpSocket *upstream) {
                if (tunnel)
                    m_client->write("HTTP/1.1 200 Connection Established\r\n\r\n");
                else
                    upstream->write(upstreamHead);
            },
            [this] { fail(); });
    }

    void fail()
    {
        m_client->write("HTTP/1.1 502 Bad Gateway\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        m_client->disconnectFromHost();
    }

    HttpProxy *m_proxy;
    bool m_started = false;
};

HttpProxy::HttpProxy(QObject *parent) : ProxyServer(QNetworkProxy::HttpProxy, parent) {}

HttpProxy::~HttpProxy() = default;

void HttpProxy::accept(QTcpSocket *client) { new HttpProxyConnection(client, this); }

void HttpProxy::clearRecords()
{
    ProxyServer::clearRecords();
    m_visits.clear();
}

}  // namespace sw::test
