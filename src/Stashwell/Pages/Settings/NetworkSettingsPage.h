#pragma once

// The network settings: a form that describes a route (the system's settings, direct, or an HTTP
// or SOCKS proxy at a host and port), applied to the application's Network and stored under
// "networkRoute" together, a connection test on the applied route, and the reading of proxy lines
// pasted from a terminal.
//
// The form is view state: it starts afresh each time the page is made and is then filled from the
// route in force. Nothing outside the page changes until Apply, a test or a use of pasted lines.
//
// A proxy route is offered only when its stored text reads back, at the next start, as the same
// route. A host the text form cannot carry ("my proxy", "a/b", a bare "::1") would otherwise be
// applied now and silently replaced by the system's settings after a restart, sending traffic
// where the user did not choose; such a form names no route and says why (problem()).

#include "Capture/Url.h"
#include "StashKit/NetworkRoute.h"
#include "StashwellUI/Controls/ConnectionStatus.h"

#include <QCoro/QCoroTask>
#include <QObject>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace sw {
class Network;
}

namespace sw::app {

class Preferences;

class NetworkSettingsPage final : public QObject {
    Q_OBJECT
public:
    enum class Mode { system, direct, http, socks };
    static constexpr std::array<Mode, 4> allModes() { return {Mode::system, Mode::direct, Mode::http, Mode::socks}; }
    static bool isProxy(Mode mode) { return mode == Mode::http || mode == Mode::socks; }

    // The check runs against `apiBase` (the live API unless a test points it elsewhere).
    NetworkSettingsPage(Network &network, Preferences &preferences, Url apiBase, QObject *parent = nullptr);
    NetworkSettingsPage(Network &network, Preferences &preferences, QObject *parent = nullptr);
    ~NetworkSettingsPage() override;

    Mode mode() const { return m_mode; }
    void setMode(Mode mode);
    QString host() const { return m_host; }
    void setHost(const QString &host);
    QString port() const { return m_port; }
    void setPort(const QString &port);
    ConnectionState status() const { return m_status; }
    // The pasted terminal lines.
    QString shell() const { return m_shell; }
    void setShell(const QString &shell);

    // The route the form describes, or none: for a proxy mode, none when the host is empty, the
    // port is not a number from 1 to 65535, or the route would not read back from its text form.
    std::optional<NetworkRoute> chosenRoute() const;
    // Why a proxy form that is otherwise complete names no route: its host cannot be stored.
    // None for every other form (an empty host or a bad port shows no message).
    std::optional<QString> problem() const;
    bool canApply() const { return chosenRoute().has_value(); }
    // Whether the pasted lines name a route.
    bool canUsePasted() const;

    // Fills the form from a route: a proxy sets the mode, host and port; system and direct set
    // only the mode.
    void show(const NetworkRoute &route);
    // Applies the chosen route to the Network, stores its text form and forgets the last result.
    // Nothing happens while the form names no route.
    void apply();
    // Applies (when it can), then checks the connection on the route in force.
    QCoro::Task<> test();
    // test() started on its own: the page keeps no handle on it.
    void startTest();
    // Fills the form from the first route the pasted lines name and tests it; nothing when they
    // name none.
    void usePasted();

    // The port field read as a number: an optional "+" or "-" and one or more decimal digits,
    // nothing else, within the signed 64-bit range; anything else is 0.
    static std::int64_t portNumber(const QString &text);
    // The route when its stored text reads back at start as the same route, else none.
    static std::optional<NetworkRoute> storable(const NetworkRoute &route);

signals:
    void modeChanged();
    void hostChanged();
    void portChanged();
    void statusChanged();
    void shellChanged();

private:
    void setStatus(const ConnectionState &status);
    // The proxy route of the form before the read-back rule.
    std::optional<NetworkRoute> proxyRoute() const;

    Network &m_network;
    Preferences &m_preferences;
    Url m_apiBase;
    Mode m_mode = Mode::system;
    QString m_host = QStringLiteral("127.0.0.1");
    QString m_port;
    ConnectionState m_status;
    QString m_shell;
};

}  // namespace sw::app
