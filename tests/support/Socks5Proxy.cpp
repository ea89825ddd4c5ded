#include "Socks5Proxy.h"

#include <QHostAddress>
#include <QTcpSocket>
#include <QtEndian>

namespace sw::test {

namespace {
constexpr char kVersion = 5;
constexpr char kNoAuthentication = 0;
constexpr char kNoAcceptableMethod = char(0xFF);
constexpr char kConnect = 1;
constexpr char kIPv4 = 1, kDomain = 3, kIPv6 = 4;
constexpr char kSucceeded = 0, kHostUnreachable = 4, kRefused = 5, kCommandNotSupported = 7,
               kAddressNotSupported = 8;

QByteArray bytes(std::initializer_list<char> list)
{
    return QByteArray(list.begin(), qsizetype(list.size()));
}
}  // namespace

// One client: the method greeting, one CONNECT request, then a pipe to the destination.
class Socks5Connection : public ProxyConnection {
public:
    Socks5Connection(QTcpSocket *client, Socks5Proxy *proxy) : ProxyConnection(client, proxy), m_proxy(proxy) {}

private:
    enum class Stage { greeting, request, connecting, done };

    void read() override
    {
        if (m_stage == Stage::connecting || m_stage == Stage::done)
            return;
        m_buffer += m_client->readAll();
        if (m_proxy->isSilent())
            return;
        if (m_stage == Stage::greeting && !greet())
            return;
        if (m_stage == Stage::request)
            request();
    }

    bool greet()
    {
        if (m_buffer.size() < 2)
            return false;
        const int count = quint8(m_buffer[1]);
        if (m_buffer.size() < 2 + count)
            return false;
        const QByteArray methods = m_buffer.mid(2, count);
        const bool version = m_buffer[0] == kVersion;
        m_buffer.remove(0, 2 + count);
        if (!version || !methods.contains(kNoAuthentication)) {
            m_client->write(bytes({kVersion, kNoAcceptableMethod}));
            close();
            return false;
        }
        m_client->write(bytes({kVersion, kNoAuthentication}));
        m_stage = Stage::request;
        return true;
    }

    void request()
    {
        if (m_buffer.size() < 5)
            return;
        const char command = m_buffer[1];
        const char type = m_buffer[3];
        qsizetype addressEnd = 0;
        Socks5Proxy::Visit visit;
        if (type == kIPv4) {
            addressEnd = 4 + 4;
            if (m_buffer.size() < addressEnd + 2)
                return;
            visit.host = QHostAddress(qFromBigEndian<quint32>(m_buffer.constData() + 4)).toString().toLatin1();
        } else if (type == kDomain) {
            const int length = quint8(m_buffer[4]);
            addressEnd = 5 + length;
            if (m_buffer.size() < addressEnd + 2)
                return;
            visit.host = m_buffer.mid(5, length);
            visit.byName = true;
        } else if (type == kIPv6) {
            addressEnd = 4 + 16;
            if (m_buffer.size() < addressEnd + 2)
                return;
            visit.host = QHostAddress(reinterpret_cast<const quint8 *>(m_buffer.constData() + 4)).toString().toLatin1();
        } else {
            reply(kAddressNotSupported);
            close();
            return;
        }
        visit.port = qFromBigEndian<quint16>(m_buffer.constData() + addressEnd);
        m_buffer.remove(0, addressEnd + 2);
        m_proxy->m_visits.append(visit);

        if (command != kConnect) {
            reply(kCommandNotSupported);
            close();
            return;
        }
        const auto endpoint = m_proxy->hosts().resolve(visit.host, visit.port);
        if (!endpoint) {
            reply(kHostUnreachable);
            close();
            return;
        }
        m_stage = Stage::connecting;
        reach(
            *endpoint,
            [this](QTcpSocket *) {
                reply(kSucceeded);
                m_stage = Stage::done;
            },
            [this] {
                reply(kRefused);
                close();
            });
    }

    void reply(char code)
    {
        // The bound address is not used by clients here; 127.0.0.1:0 stands for it.
        m_client->write(bytes({kVersion, code, 0, kIPv4, 127, 0, 0, 1, 0, 0}));
    }

    void close()
    {
        m_stage = Stage::done;
        m_client->disconnectFromHost();
    }

    Socks5Proxy *m_proxy;
    Stage m_stage = Stage::greeting;
};

Socks5Proxy::Socks5Proxy(QObject *parent) : ProxyServer(QNetworkProxy::Socks5Proxy, parent) {}

Socks5Proxy::~Socks5Proxy() = default;

void Socks5Proxy::accept(QTcpSocket *client) { new Socks5Connection(client, this); }

void Socks5Proxy::clearRecords()
{
    ProxyServer::clearRecords();
    m_visits.clear();
}

}  // namespace sw::test
