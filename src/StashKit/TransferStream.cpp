#include "StashKit/TransferStream.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <deque>
#include <utility>

namespace sw {

namespace detail {

struct TransferChannel : std::enable_shared_from_this<TransferChannel> {
    std::deque<Transfer> events;
    bool ended = false;        // finished or failed by the producer
    bool cancelled = false;    // the reader let go first
    std::optional<TransferError> error;
    std::function<void()> onCancel;
    std::coroutine_handle<> waiter;
    bool wakeScheduled = false;

    bool closed() const { return ended || cancelled; }
    bool readable() const { return !events.empty() || closed(); }

    // Resumes a waiting reader from the event loop, so that the reader's code never runs inside
    // the producer's call (which may be a network reply's signal).
    void wake()
    {
        if (!waiter || wakeScheduled)
            return;
        QCoreApplication *app = QCoreApplication::instance();
        if (!app) {
            std::exchange(waiter, {}).resume();
            return;
        }
        wakeScheduled = true;
        std::weak_ptr<TransferChannel> weak = weak_from_this();
        QMetaObject::invokeMethod(
            app,
            [weak] {
                const auto channel = weak.lock();
                if (!channel)
                    return;
                channel->wakeScheduled = false;
                if (auto handle = std::exchange(channel->waiter, {}))
                    handle.resume();
            },
            Qt::QueuedConnection);
    }
};

}  // namespace detail

// ---- errors -----------------------------------------------------------------------------------

TransferError TransferError::badServerResponse(int status)
{
    return {Kind::badServerResponse, QStringLiteral("The server answered with the status %1.").arg(status), status,
            QNetworkReply::NoError};
}

TransferError TransferError::network(QNetworkReply::NetworkError code, QString message)
{
    return {Kind::network, std::move(message), 0, code};
}

TransferError TransferError::couldNotWrite(QString message)
{
    return {Kind::couldNotWrite, std::move(message), 0, QNetworkReply::NoError};
}

TransferError TransferError::notHttp(QString address)
{
    return {Kind::notHttp, QStringLiteral("Only http and https addresses are downloaded: %1").arg(address), 0,
            QNetworkReply::ProtocolUnknownError};
}

TransferError TransferError::tooLarge(std::int64_t most)
{
    return {Kind::tooLarge, QStringLiteral("The file is larger than the %1 bytes it may take.").arg(most), 0,
            QNetworkReply::NoError};
}

// ---- the reading end --------------------------------------------------------------------------

TransferStream::Awaiter::Awaiter(Awaiter &&other) noexcept
    : m_channel(std::move(other.m_channel)), m_waiter(std::exchange(other.m_waiter, {}))
{
}

TransferStream::Awaiter::~Awaiter()
{
    // A reader destroyed while it waits must never be resumed.
    if (m_channel && m_waiter && m_channel->waiter == m_waiter)
        m_channel->waiter = {};
}

bool TransferStream::Awaiter::await_ready() const noexcept
{
    return !m_channel || m_channel->readable();
}

void TransferStream::Awaiter::await_suspend(std::coroutine_handle<> waiter)
{
    m_waiter = waiter;
    m_channel->waiter = waiter;
}

TransferStream::Next TransferStream::Awaiter::await_resume()
{
    m_waiter = {};
    if (!m_channel)
        return std::optional<Transfer>();
    if (!m_channel->events.empty()) {
        Transfer event = m_channel->events.front();
        m_channel->events.pop_front();
        return std::optional<Transfer>(event);
    }
    if (m_channel->error)
        return std::unexpected(*m_channel->error);
    return std::optional<Transfer>();
}

std::pair<TransferStream, TransferSink> TransferStream::make()
{
    auto channel = std::make_shared<detail::TransferChannel>();
    return {TransferStream(channel), TransferSink(channel)};
}

TransferStream TransferStream::failed(TransferError error)
{
    auto [stream, sink] = make();
    sink.fail(std::move(error));
    return std::move(stream);
}

TransferStream::TransferStream(TransferStream &&other) noexcept : m_channel(std::move(other.m_channel)) {}

TransferStream &TransferStream::operator=(TransferStream &&other) noexcept
{
    if (this != &other) {
        cancel();
        m_channel = std::move(other.m_channel);
    }
    return *this;
}

TransferStream::~TransferStream() { cancel(); }

bool TransferStream::hasEnded() const { return !m_channel || m_channel->ended; }

void TransferStream::cancel()
{
    if (!m_channel)
        return;
    const auto channel = std::move(m_channel);
    if (channel->closed())
        return;
    channel->cancelled = true;
    channel->events.clear();
    if (auto handler = std::exchange(channel->onCancel, {}))
        handler();
    channel->wake();
}

// ---- the producing end ------------------------------------------------------------------------

void TransferSink::yield(const Transfer &transfer) const
{
    if (!m_channel || m_channel->closed())
        return;
    m_channel->events.push_back(transfer);
    m_channel->wake();
}

void TransferSink::finish() const
{
    if (!m_channel || m_channel->closed())
        return;
    m_channel->ended = true;
    m_channel->onCancel = {};
    m_channel->wake();
}

void TransferSink::fail(TransferError error) const
{
    if (!m_channel || m_channel->closed())
        return;
    m_channel->ended = true;
    m_channel->error = std::move(error);
    m_channel->onCancel = {};
    m_channel->wake();
}

void TransferSink::onCancel(std::function<void()> handler) const
{
    if (!m_channel)
        return;
    if (m_channel->cancelled) {
        if (handler)
            handler();
        return;
    }
    if (!m_channel->ended)
        m_channel->onCancel = std::move(handler);
}

bool TransferSink::isClosed() const { return !m_channel || m_channel->closed(); }

}  // namespace sw
