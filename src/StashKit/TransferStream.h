#pragma once

// The events of one download as a stream that a coroutine reads on the main thread:
//
//     TransferStream stream = downloader.download(attachment, destination, most);
//     while (true) {
//         const TransferStream::Next next = co_await stream.next();
//         if (!next) ...               // the download failed: next.error()
//         else if (!*next) break;      // the stream ended
//         else use(**next);            // a Transfer
//     }
//
// The producing side (a downloader, or a test's script) holds the stream's TransferSink. Events
// are buffered without limit and never dropped; a reader that waits is woken from the event loop,
// never from inside the producer's own call. Letting go of the TransferStream before it has ended
// runs the sink's cancel handler, which stops the transfer.

#include "StashKit/Transfer.h"

#include <QNetworkReply>
#include <QString>

#include <coroutine>
#include <cstdint>
#include <expected>
#include <functional>
#include <memory>
#include <optional>

namespace sw {

// Why a download failed.
struct TransferError {
    enum class Kind {
        badServerResponse,   // the server answered with a status outside 200...299
        network,             // no connection, a failing proxy, a time-out, a dropped connection
        couldNotWrite,       // the file could not be written or put in place on this computer
        notHttp,             // the address is not http or https; nothing was requested
        tooLarge,            // the file announced or reached more bytes than it was allowed
    };

    Kind kind = Kind::network;
    QString message;
    int status = 0;   // the HTTP status, when the server answered
    QNetworkReply::NetworkError networkError = QNetworkReply::NoError;

    static TransferError badServerResponse(int status);
    static TransferError network(QNetworkReply::NetworkError code, QString message);
    static TransferError couldNotWrite(QString message);
    static TransferError notHttp(QString address);
    static TransferError tooLarge(std::int64_t most);

    friend bool operator==(const TransferError &, const TransferError &) = default;
};

namespace detail {
struct TransferChannel;
}

class TransferSink;

class TransferStream {
public:
    // A transfer event; none when the stream has ended; the error when it failed.
    using Next = std::expected<std::optional<Transfer>, TransferError>;

    class Awaiter {
    public:
        explicit Awaiter(std::shared_ptr<detail::TransferChannel> channel) : m_channel(std::move(channel)) {}
        Awaiter(Awaiter &&other) noexcept;
        Awaiter(const Awaiter &) = delete;
        Awaiter &operator=(const Awaiter &) = delete;
        Awaiter &operator=(Awaiter &&) = delete;
        ~Awaiter();

        bool await_ready() const noexcept;
        void await_suspend(std::coroutine_handle<> waiter);
        Next await_resume();

    private:
        std::shared_ptr<detail::TransferChannel> m_channel;
        std::coroutine_handle<> m_waiter;
    };

    // A stream and the sink that feeds it.
    static std::pair<TransferStream, TransferSink> make();
    // A stream that has already failed (or ended, given no error).
    static TransferStream failed(TransferError error);

    TransferStream(TransferStream &&) noexcept;
    TransferStream &operator=(TransferStream &&) noexcept;
    TransferStream(const TransferStream &) = delete;
    TransferStream &operator=(const TransferStream &) = delete;
    // Letting go of a stream that has not ended cancels its transfer.
    ~TransferStream();

    // The next event, waiting for it when none is buffered. After the end (or the failure) every
    // call gives the end (or the failure) again. One reader at a time.
    Awaiter next() const { return Awaiter(m_channel); }

    // True once the producer has finished or failed the stream (buffered events may remain).
    bool hasEnded() const;

private:
    explicit TransferStream(std::shared_ptr<detail::TransferChannel> channel) : m_channel(std::move(channel)) {}
    void cancel();

    std::shared_ptr<detail::TransferChannel> m_channel;
};

// The producing end of a stream. Copies feed the same stream. All calls on the main thread.
class TransferSink {
public:
    TransferSink() = default;

    // Buffers an event. Ignored once the stream has ended or was let go of.
    void yield(const Transfer &transfer) const;
    // Ends the stream normally / with an error. Only the first ending counts.
    void finish() const;
    void fail(TransferError error) const;

    // Run once when the reader lets go of the stream before it has ended.
    void onCancel(std::function<void()> handler) const;
    // True once the stream has ended or its reader has let go: nothing more will be read.
    bool isClosed() const;

private:
    friend class TransferStream;
    explicit TransferSink(std::shared_ptr<detail::TransferChannel> channel) : m_channel(std::move(channel)) {}
    std::shared_ptr<detail::TransferChannel> m_channel;
};

}  // namespace sw
