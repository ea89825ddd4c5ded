#include "StashKit/Network.h"

#include "StashKit/LivePostFetcher.h"

#include <QNetworkAccessManager>

#include <climits>

namespace sw {

namespace {

int milliseconds(std::chrono::milliseconds timeout)
{
    return int(std::clamp<std::chrono::milliseconds::rep>(timeout.count(), 0, INT_MAX));
}

// A fixed public post that the connection test asks for.
PostLink checkPost()
{
    return PostLink::x(Handle{QStringLiteral("jack")}, StatusID{QStringLiteral("20")});
}

}  // namespace

Network::Network(NetworkRoute route, QObject *parent)
    : QObject(parent), m_route(std::move(route)), m_session(makeSession(m_route, m_transferTimeout))
{
}

Network::~Network() = default;

void Network::setRoute(NetworkRoute route)
{
    const bool differs = !(route == m_route);
    m_route = std::move(route);
    // The old manager lives on while requests started on it hold it.
    m_session = makeSession(m_route, m_transferTimeout);
    if (differs)
        emit routeChanged();
    emit sessionChanged();
}

void Network::setTransferTimeout(std::chrono::milliseconds timeout)
{
    m_transferTimeout = timeout;
    m_session->setTransferTimeout(milliseconds(timeout));
}

std::shared_ptr<QNetworkAccessManager> Network::makeSession(const NetworkRoute &route,
                                                            std::chrono::milliseconds transferTimeout)
{
    // Deleted on the event loop: the last holder may let go while the manager is delivering a
    // reply's signals.
    std::shared_ptr<QNetworkAccessManager> manager(new QNetworkAccessManager,
                                                   [](QNetworkAccessManager *m) { m->deleteLater(); });
    route.applyTo(*manager);
    manager->setTransferTimeout(milliseconds(transferTimeout));
    return manager;
}

QCoro::Task<std::expected<void, FetchError>> Network::check()
{
    return check(LivePostFetcher::defaultApiBase());
}

QCoro::Task<std::expected<void, FetchError>> Network::check(Url apiBase)
{
    using Result = std::expected<void, FetchError>;
    LivePostFetcher fetcher(*this, std::move(apiBase));
    auto task = fetcher.fetch(checkPost());
    const auto post = co_await task;
    if (!post)
        co_return Result(std::unexpected(post.error()));
    co_return Result();
}

}  // namespace sw
