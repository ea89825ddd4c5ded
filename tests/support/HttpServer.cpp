#include "HttpServer.h"

#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

#include <deque>

namespace sw::test {

// ---- requests ------------------------------------------------------------------------------

QByteArray HttpRequest::path() const
{
    QByteArray t = target;
    if (const qsizetype scheme = t.indexOf("://"); scheme > 0 && !t.startsWith('/')) {
        const qsizetype slash = t.indexOf('/', scheme + 3);
        t = slash < 0 ? QByteArray("/") : t.mid(slash);
    }
    const qsizetype q = t.indexOf('?');
    return q < 0 ? t : t.left(q);
}

QByteArray HttpRequest::query() const
{
    const qsizetype q = target.indexOf('?');
    return q < 0 ? QByteArray() : target.mid(q + 1);
}

std::optional<QByteArray> HttpRequest::header(QByteArrayView name) const
{
    for (const auto &[n, v] : headers)
        if (n.compare(name, Qt::CaseInsensitive) == 0)
            return v;
    return std::nullopt;
}

std::optional<std::pair<HttpRequest, qsizetype>> readRequestHead(const QByteArray &buffer)
{
    const qsizetype end = buffer.indexOf("\r\n\r\n");
    if (end < 0)
        return std::nullopt;
    HttpRequest request;
    const QList<QByteArray> lines = buffer.left(end).split('\n');
    const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
    if (first.size() == 3) {
        request.method = first[0];
        request.target = first[1];
        request.version = first[2];
    }
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines[i].trimmed();
        const qsizetype colon = line.indexOf(':');
        if (colon > 0)
            request.headers.append({line.left(colon).trimmed(), line.mid(colon + 1).trimmed()});
    }
    return std::pair{request, end + 4};
}

QByteArray reasonPhrase(int status)
{
    switch (status) {
    case 200: return "OK";
    case 204: return "No Content";
    case 206: return "Partial Content";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 304: return "Not Modified";
    case 400: return "Bad Request";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 500: return "Internal Server Error";
    case 502: return "Bad Gateway";
    case 503: return "Service Unavailable";
    default: return "Status";
    }
}

// ---- replies -------------------------------------------------------------------------------

HttpReply HttpReply::ok(QByteArray body, QByteArray contentType)
{
    HttpReply r;
    r.body = std::move(body);
    r.headers.append({"Content-Type", std::move(contentType)});
    return r;
}

HttpReply HttpReply::json(QByteArray body) { return ok(std::move(body), "application/json"); }

HttpReply HttpReply::html(QByteArray body, QByteArray contentType) { return ok(std::move(body), std::move(contentType)); }

HttpReply HttpReply::withStatus(int code, QByteArray body)
{
    HttpReply r = ok(std::move(body));
    r.status = code;
    return r;
}

HttpReply HttpReply::never()
{
    HttpReply r;
    r.silent = true;
    return r;
}

HttpReply HttpReply::hungUp()
{
    HttpReply r;
    r.hangUp = true;
    return r;
}

HttpReply HttpReply::madeUpBody(qint64 bytes, Framing how)
{
    HttpReply r = ok({}, "application/octet-stream");
    r.madeUp = bytes;
    r.framing = how;
    return r;
}

HttpReply HttpReply::withHeader(QByteArray name, QByteArray value) &&
{
    headers.append({std::move(name), std::move(value)});
    return std::move(*this);
}

HttpReply HttpReply::inPieces(qsizetype size, std::chrono::milliseconds pauseBetween) &&
{
    pieceSize = size;
    pause = pauseBetween;
    return std::move(*this);
}

HttpReply HttpReply::framed(Framing how) &&
{
    framing = how;
    return std::move(*this);
}

HttpReply HttpReply::dripping(std::chrono::milliseconds every) &&
{
    return std::move(*this).inPieces(1, every);
}

HttpReply HttpReply::droppedAfter(qsizetype bodyBytes) &&
{
    dropAfter = bodyBytes;
    return std::move(*this);
}

// ---- one connection ------------------------------------------------------------------------

// Serves the requests of one connection, one after another.
class HttpConnection : public QObject {
public:
    HttpConnection(QTcpSocket *socket, HttpServer *server) : QObject(server), m_socket(socket), m_server(server)
    {
        socket->setParent(this);
        connect(socket, &QTcpSocket::readyRead, this, [this] {
            m_buffer += m_socket->readAll();
            next();
        });
        connect(socket, &QTcpSocket::bytesWritten, this, &HttpConnection::makeUp);
        connect(socket, &QTcpSocket::disconnected, this, [this] {
            m_makingUp = false;
            end();
            deleteLater();
        });
    }

    ~HttpConnection() override { end(); }

private:
    void next()
    {
        if (m_busy)
            return;
        const auto head = readRequestHead(m_buffer);
        if (!head)
            return;
        HttpRequest request = head->first;
        const qsizetype length = request.header("Content-Length").value_or("0").toLongLong();
        if (m_buffer.size() < head->second + length)
            return;
        request.body = m_buffer.mid(head->second, length);
        m_buffer.remove(0, head->second + length);
        request.peer = m_socket->peerAddress();

        m_server->record(request);
        if (request.method.isEmpty()) {
            HttpReply bad = HttpReply::withStatus(400);
            m_closeAfter = true;
            serve(bad, request);
            return;
        }
        const HttpReply reply = m_server->replyFor(request);
        m_closeAfter = request.header("Connection").value_or("").toLower() == "close"
            || request.version == "HTTP/1.0";
        serve(reply, request);
    }

    void serve(const HttpReply &reply, const HttpRequest &request)
    {
        m_busy = true;
        m_counted = true;
        m_server->started();
        if (reply.silent)
            return;   // holds the connection, reads nothing more
        if (reply.hangUp) {
            m_socket->abort();   // emits disconnected: the connection ends here
            return;
        }
        const bool head = request.method == "HEAD";
        const bool untilClose = reply.framing == HttpReply::Framing::untilClose;
        if (untilClose || reply.dropAfter)
            m_closeAfter = true;

        QByteArray text = "HTTP/1.1 " + QByteArray::number(reply.status) + ' '
            + (reply.reason.isEmpty() ? reasonPhrase(reply.status) : reply.reason) + "\r\n";
        bool hasLength = false;
        bool hasEncoding = false;
        for (const auto &[name, value] : reply.headers) {
            hasLength = hasLength || name.compare("Content-Length", Qt::CaseInsensitive) == 0;
            hasEncoding = hasEncoding || name.compare("Transfer-Encoding", Qt::CaseInsensitive) == 0;
            text += name + ": " + value + "\r\n";
        }
        if (reply.framing == HttpReply::Framing::contentLength && !hasLength)
            text += "Content-Length: " + QByteArray::number(reply.body.size() + (head ? 0 : reply.madeUp)) + "\r\n";
        if (reply.framing == HttpReply::Framing::chunked && !hasEncoding)
            text += "Transfer-Encoding: chunked\r\n";
        if (m_closeAfter)
            text += "Connection: close\r\n";
        text += "\r\n";

        std::deque<QByteArray> pieces;
        m_madeUpLeft = 0;
        if (!head) {
            QByteArray body = reply.body;
            const bool cut = reply.dropAfter && *reply.dropAfter < body.size();
            if (cut)
                body.truncate(*reply.dropAfter);
            const qsizetype size = reply.pieceSize > 0 ? reply.pieceSize : qMax<qsizetype>(body.size(), 1);
            for (qsizetype at = 0; at < body.size(); at += size) {
                QByteArray piece = body.mid(at, size);
                if (reply.framing == HttpReply::Framing::chunked)
                    piece = QByteArray::number(piece.size(), 16) + "\r\n" + piece + "\r\n";
                pieces.push_back(piece);
            }
            if (reply.framing == HttpReply::Framing::chunked && !cut && reply.madeUp <= 0)
                pieces.push_back("0\r\n\r\n");
            m_madeUpLeft = reply.madeUp;
            m_madeUpChunked = reply.framing == HttpReply::Framing::chunked;
        }
        QTimer::singleShot(reply.delay, this, [this, text, pieces, pause = reply.pause]() mutable {
            m_socket->write(text);
            send(std::move(pieces), pause);
        });
    }

    void send(std::deque<QByteArray> pieces, std::chrono::milliseconds pause)
    {
        if (pieces.empty()) {
            startMakingUp();
            return;
        }
        m_socket->write(pieces.front());
        pieces.pop_front();
        if (pieces.empty()) {
            startMakingUp();
            return;
        }
        m_socket->flush();
        QTimer::singleShot(pause, this, [this, pieces = std::move(pieces), pause]() mutable {
            send(std::move(pieces), pause);
        });
    }

    void startMakingUp()
    {
        if (m_madeUpLeft <= 0) {
            finish();
            return;
        }
        m_makingUp = true;
        makeUp();
    }

    // Sends the made-up body a piece at a time, as fast as the client takes it and no faster, so
    // that a body of gigabytes never sits in memory.
    void makeUp()
    {
        if (!m_makingUp)
            return;
        static const QByteArray piece(64 * 1024, 'm');
        while (m_madeUpLeft > 0 && m_socket->bytesToWrite() < 4 * piece.size()) {
            const qsizetype size = qsizetype(std::min<qint64>(m_madeUpLeft, piece.size()));
            const QByteArray bytes = size == piece.size() ? piece : piece.first(size);
            m_socket->write(m_madeUpChunked ? QByteArray::number(size, 16) + "\r\n" + bytes + "\r\n" : bytes);
            m_madeUpLeft -= size;
        }
        if (m_madeUpLeft > 0)
            return;
        m_makingUp = false;
        if (m_madeUpChunked)
            m_socket->write("0\r\n\r\n");
        finish();
    }

    // The reply of the current request is sent (or will never be).
    void end()
    {
        if (m_counted && m_server)
            m_server->ended();
        m_counted = false;
    }

    void finish()
    {
        end();
        m_busy = false;
        if (m_closeAfter) {
            m_socket->disconnectFromHost();
            return;
        }
        next();
    }

    QTcpSocket *m_socket;
    QPointer<HttpServer> m_server;
    QByteArray m_buffer;
    bool m_busy = false;
    bool m_counted = false;
    bool m_closeAfter = false;
    qint64 m_madeUpLeft = 0;
    bool m_madeUpChunked = false;
    bool m_makingUp = false;
};

// ---- the server ----------------------------------------------------------------------------

HttpServer::HttpServer(QObject *parent) : QObject(parent)
{
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            ++m_connections;
            new HttpConnection(socket, this);
        }
    });
}

HttpServer::~HttpServer() = default;

bool HttpServer::listen() { return m_server.listen(QHostAddress::LocalHost, 0); }

quint16 HttpServer::port() const { return m_server.serverPort(); }

QUrl HttpServer::url(const QString &pathAndQuery) const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(port()).arg(pathAndQuery));
}

void HttpServer::route(const QByteArray &path, HttpReply reply) { route(QByteArray(), path, std::move(reply)); }

void HttpServer::route(const QByteArray &method, const QByteArray &path, HttpReply reply)
{
    for (auto &[key, existing] : m_routes) {
        if (key.first == method && key.second == path) {
            existing = std::move(reply);
            return;
        }
    }
    m_routes.push_back({{method, path}, std::move(reply)});
}

void HttpServer::setHandler(std::function<HttpReply(const HttpRequest &)> handler) { m_handler = std::move(handler); }

int HttpServer::requestCount(const QByteArray &path) const
{
    return int(std::count_if(m_requests.begin(), m_requests.end(),
                             [&](const HttpRequest &r) { return r.path() == path; }));
}

void HttpServer::clearRecords()
{
    m_requests.clear();
    m_connections = 0;
    m_mostInFlight = m_inFlight;
}

void HttpServer::started()
{
    ++m_inFlight;
    m_mostInFlight = std::max(m_mostInFlight, m_inFlight);
}

void HttpServer::ended() { --m_inFlight; }

HttpReply HttpServer::replyFor(const HttpRequest &request) const
{
    const QByteArray path = request.path();
    const HttpReply *anyMethod = nullptr;
    for (const auto &[key, reply] : m_routes) {
        if (key.second != path)
            continue;
        if (key.first == request.method)
            return reply;
        if (key.first.isEmpty() && !anyMethod)
            anyMethod = &reply;
    }
    if (anyMethod)
        return *anyMethod;
    if (m_handler)
        return m_handler(request);
    return HttpReply::withStatus(404, "not found");
}

void HttpServer::record(const HttpRequest &request)
{
    m_requests.append(request);
    emit requestReceived(request);
}

}  // namespace sw::test
