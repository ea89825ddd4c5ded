#include "Stashwell/Pages/Settings/NetworkSettingsPage.h"

#include "StashKit/ConnectionCheck.h"
#include "StashKit/LivePostFetcher.h"
#include "StashKit/Network.h"
#include "Stashwell/Preferences/StartupPreferences.h"
#include "Stashwell/Preferences/Preferences.h"
#include "Stashwell/StashwellStrings.h"

#include <QPointer>

#include <limits>

namespace sw::app {

NetworkSettingsPage::NetworkSettingsPage(Network &network, Preferences &preferences, Url apiBase, QObject *parent)
    : QObject(parent), m_network(network), m_preferences(preferences), m_apiBase(std::move(apiBase))
{
    // The page appears with the route in force.
    show(m_network.route());
}

NetworkSettingsPage::NetworkSettingsPage(Network &network, Preferences &preferences, QObject *parent)
    : NetworkSettingsPage(network, preferences, LivePostFetcher::defaultApiBase(), parent)
{
}

NetworkSettingsPage::~NetworkSettingsPage() = default;

void NetworkSettingsPage::setMode(Mode mode)
{
    if (mode == m_mode)
        return;
    m_mode = mode;
    emit modeChanged();
}

void NetworkSettingsPage::setHost(const QString &host)
{
    if (host == m_host)
        return;
    m_host = host;
    emit hostChanged();
}

void NetworkSettingsPage::setPort(const QString &port)
{
    if (port == m_port)
        return;
    m_port = port;
    emit portChanged();
}

void NetworkSettingsPage::setShell(const QString &shell)
{
    if (shell == m_shell)
        return;
    m_shell = shell;
    emit shellChanged();
}

void NetworkSettingsPage::setStatus(const ConnectionState &status)
{
    if (status == m_status)
        return;
    m_status = status;
    emit statusChanged();
}

std::int64_t NetworkSettingsPage::portNumber(const QString &text)
{
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i == text.size())
        return 0;
    // Gathered as a negative number, so that the lowest value fits too.
    std::int64_t value = 0;
    constexpr std::int64_t lowest = std::numeric_limits<std::int64_t>::min();
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return 0;
        const int digit = c - u'0';
        if (value < (lowest + digit) / 10)
            return 0;   // beyond the range
        value = value * 10 - digit;
    }
    if (negative)
        return value;
    if (value == lowest)
        return 0;
    return -value;
}

std::optional<NetworkRoute> NetworkSettingsPage::storable(const NetworkRoute &route)
{
    // Read back exactly as the next start reads the preference.
    if (StartupPreferences::routeFrom(QVariant(route.rawValue())) == route)
        return route;
    return std::nullopt;
}

std::optional<NetworkRoute> NetworkSettingsPage::proxyRoute() const
{
    const auto kind = m_mode == Mode::http ? NetworkRoute::Kind::http : NetworkRoute::Kind::socks;
    return NetworkRoute::proxy(kind, m_host, portNumber(m_port));
}

std::optional<NetworkRoute> NetworkSettingsPage::chosenRoute() const
{
    switch (m_mode) {
    case Mode::system: return NetworkRoute::system();
    case Mode::direct: return NetworkRoute::direct();
    case Mode::http:
    case Mode::socks:
        if (const auto route = proxyRoute())
            return storable(*route);
        return std::nullopt;
    }
    return std::nullopt;
}

std::optional<QString> NetworkSettingsPage::problem() const
{
    if (!isProxy(m_mode))
        return std::nullopt;
    const auto route = proxyRoute();
    if (!route || storable(*route))
        return std::nullopt;
    return StashwellStrings::networkHostNotStorable();
}

bool NetworkSettingsPage::canUsePasted() const
{
    return !NetworkRoute::routesFromPasted(m_shell).isEmpty();
}

void NetworkSettingsPage::show(const NetworkRoute &route)
{
    if (const auto *http = route.asHttp()) {
        setMode(Mode::http);
        setHost(http->host);
        setPort(QString::number(http->port));
    } else if (const auto *socks = route.asSocks()) {
        setMode(Mode::socks);
        setHost(socks->host);
        setPort(QString::number(socks->port));
    } else {
        setMode(route.isDirect() ? Mode::direct : Mode::system);
    }
}

void NetworkSettingsPage::apply()
{
    const auto route = chosenRoute();
    if (!route)
        return;
    m_network.setRoute(*route);
    m_preferences.setValue(Preferences::networkRoute, route->rawValue());
    setStatus(ConnectionState::unknown());
}

QCoro::Task<> NetworkSettingsPage::test()
{
    apply();
    setStatus(ConnectionState::checking());
    QPointer<NetworkSettingsPage> self(this);
    const auto result = co_await ConnectionCheck::check(m_network, m_apiBase);
    // A test that outlives the page (the tab was left) has nothing left to show.
    if (!self)
        co_return;
    setStatus(result ? ConnectionState::reachable() : ConnectionState::unreachable(result.error().description()));
}

void NetworkSettingsPage::startTest()
{
    test();
}

void NetworkSettingsPage::usePasted()
{
    const QList<NetworkRoute> routes = NetworkRoute::routesFromPasted(m_shell);
    if (routes.isEmpty())
        return;
    show(routes.first());
    startTest();
}

}  // namespace sw::app
