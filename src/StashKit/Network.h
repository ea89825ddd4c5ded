#pragma once

// The current network route and the network manager built for it. Every request of the
// application goes through `session()`, read anew for each request, so a route change applies
// from the next request on. A request keeps the manager it started on (it holds the shared
// pointer) until it ends, whatever the route does meanwhile. The connection test of a route is
// ConnectionCheck.

#include "StashKit/NetworkRoute.h"

#include <QObject>

#include <chrono>
#include <functional>
#include <memory>

class QNetworkAccessManager;

namespace sw {

class Network : public QObject {
    Q_OBJECT
public:
    // How long a transfer may stall (no byte sent or received) before it fails.
    static constexpr std::chrono::milliseconds kDefaultTransferTimeout{30'000};

    explicit Network(NetworkRoute route, QObject *parent = nullptr);
    ~Network() override;

    NetworkRoute route() const { return m_route; }
    // Stores the route and builds a new manager for it, even when the route is the same.
    // routeChanged is emitted only when the text form differs; sessionChanged every time.
    void setRoute(NetworkRoute route);

    // The manager of the current route. Holders keep it alive; it is deleted once the last one
    // lets go (never while one of its replies is in flight).
    std::shared_ptr<QNetworkAccessManager> session() const { return m_session; }
    // session(), asked anew at each call, for those that must not know this class (the views'
    // picture cache); none once this network is gone.
    std::function<std::shared_ptr<QNetworkAccessManager>()> sessions();

    std::chrono::milliseconds transferTimeout() const { return m_transferTimeout; }
    // Applies to the current manager and every later one.
    void setTransferTimeout(std::chrono::milliseconds timeout);

    // A manager of its own for a route (the media downloader makes one per download).
    static std::shared_ptr<QNetworkAccessManager> makeSession(const NetworkRoute &route,
                                                              std::chrono::milliseconds transferTimeout);

signals:
    void routeChanged();
    void sessionChanged();

private:
    NetworkRoute m_route;
    std::chrono::milliseconds m_transferTimeout = kDefaultTransferTimeout;
    std::shared_ptr<QNetworkAccessManager> m_session;
};

}  // namespace sw
