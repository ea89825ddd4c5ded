#include "StashKit/Network.h"

#include <QNetworkAccessManager>
#include <QPointer>

#include <algorithm>
#include <climits>

namespace sw {

namespace {

int milliseconds(std::chrono::milliseconds timeout)
{
    return int(std::clamp<std::chrono::milliseconds::rep>(timeout.count(), 0, INT_MAX));
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

std::function<std::shared_ptr<QNetworkAccessManager>()> Network::sessions()
{
    return [network = QPointer<Network>(this)]() -> std::shared_ptr<QNetworkAccessManager> {
        return network ? network->session() : nullptr;
    };
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

}  // namespace sw
