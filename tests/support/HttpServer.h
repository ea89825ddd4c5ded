#pragma once

// A scripted HTTP/1.1 server on 127.0.0.1 for tests. Each path answers with a scripted reply:
// status, headers, a body sent whole, in pieces with pauses (down to a drip of one byte at a
// time), chunked or until the connection closes, a body far larger than memory made up as it is
// sent (announced truly, falsely or not at all), a connection dropped after some bytes, or no
// answer at all. Every request is recorded
// (method, target, headers, body) so a test can tell what reached the server and how often.

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QTcpServer>
#include <QUrl>

#include <chrono>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace sw::test {

using HeaderList = QList<std::pair<QByteArray, QByteArray>>;

struct HttpRequest {
    QByteArray method;
    QByteArray target;    // as sent: "/path?query", or "http://host/path" when a client sends it so
    QByteArray version;   // "HTTP/1.1"
    HeaderList headers;
    QByteArray body;
    // Where the connection came from (a proxy that binds its outgoing side elsewhere shows here).
    QHostAddress peer;

    // The target's path without its query (the path of an absolute target too).
    QByteArray path() const;
    QByteArray query() const;
    // The first header of that name (case-insensitive), or none.
    std::optional<QByteArray> header(QByteArrayView name) const;
};

struct HttpReply {
    enum class Framing {
        contentLength,   // a Content-Length header (unless the script gives one itself)
        chunked,         // Transfer-Encoding: chunked, one chunk per piece
        untilClose,      // no length: the body ends when the connection closes
    };

    int status = 200;
    QByteArray reason;               // empty: the usual phrase for the status
    HeaderList headers;
    QByteArray body;
    Framing framing = Framing::contentLength;
    qsizetype pieceSize = 0;         // send the body in pieces of this size (0: in one piece)
    std::chrono::milliseconds pause{0};    // between two pieces
    std::chrono::milliseconds delay{0};    // before the status line
    std::optional<qsizetype> dropAfter;    // close the connection after this many body bytes
    bool silent = false;                   // read the request and never answer
    bool hangUp = false;                   // read the request and close the connection unanswered
    qint64 madeUp = 0;                     // bytes sent after the body, made up as the socket takes them

    static HttpReply ok(QByteArray body, QByteArray contentType = "text/plain; charset=utf-8");
    static HttpReply json(QByteArray body);
    static HttpReply html(QByteArray body, QByteArray contentType = "text/html; charset=utf-8");
    static HttpReply withStatus(int code, QByteArray body = {});
    static HttpReply never();
    static HttpReply hungUp();
    // A body of `bytes` made-up bytes, framed as asked (with a Content-Length of its true size
    // unless a header says otherwise).
    static HttpReply madeUpBody(qint64 bytes, Framing how = Framing::contentLength);

    HttpReply withHeader(QByteArray name, QByteArray value) &&;
    HttpReply inPieces(qsizetype size, std::chrono::milliseconds pauseBetween) &&;
    HttpReply framed(Framing how) &&;
    HttpReply droppedAfter(qsizetype bodyBytes) &&;
    // The body one byte at a time, a pause between two bytes.
    HttpReply dripping(std::chrono::milliseconds every) &&;
};

class HttpServer : public QObject {
    Q_OBJECT
public:
    explicit HttpServer(QObject *parent = nullptr);
    ~HttpServer() override;

    // Listens on 127.0.0.1 at a free port.
    bool listen();
    quint16 port() const;
    // "http://127.0.0.1:<port>" followed by the path (and query).
    QUrl url(const QString &pathAndQuery = QStringLiteral("/")) const;

    // The reply for a path (matched without the query), for any method or for one method.
    void route(const QByteArray &path, HttpReply reply);
    void route(const QByteArray &method, const QByteArray &path, HttpReply reply);
    // Asked for requests no route matches; without it they get 404.
    void setHandler(std::function<HttpReply(const HttpRequest &)> handler);

    const QList<HttpRequest> &requests() const { return m_requests; }
    int requestCount() const { return int(m_requests.size()); }
    int requestCount(const QByteArray &path) const;
    int connectionCount() const { return m_connections; }
    // Requests received whose reply has not been sent in full yet, and the most there were at once.
    int inFlight() const { return m_inFlight; }
    int mostInFlight() const { return m_mostInFlight; }
    void clearRecords();

signals:
    void requestReceived(const sw::test::HttpRequest &request);

private:
    friend class HttpConnection;
    HttpReply replyFor(const HttpRequest &request) const;
    void record(const HttpRequest &request);
    void started();
    void ended();

    QTcpServer m_server;
    std::vector<std::pair<std::pair<QByteArray, QByteArray>, HttpReply>> m_routes;   // (method, path)
    std::function<HttpReply(const HttpRequest &)> m_handler;
    QList<HttpRequest> m_requests;
    int m_connections = 0;
    int m_inFlight = 0;
    int m_mostInFlight = 0;
};

// Reads one request head ("METHOD target VERSION", headers) from the front of a buffer. Gives the
// request (without body) and the head's length, or none while the head is incomplete. Malformed
// heads give a request with an empty method. Shared with the proxies.
std::optional<std::pair<HttpRequest, qsizetype>> readRequestHead(const QByteArray &buffer);

// The usual reason phrase of a status code.
QByteArray reasonPhrase(int status);

}  // namespace sw::test
