#pragma once

// How the application reaches the network: the system's proxy settings, directly, through an
// HTTP proxy or through a SOCKS proxy. A route is kept and exchanged only as its text form (the
// preference "networkRoute"); equality and hashing go through that text.

#include <QHash>
#include <QList>
#include <QNetworkProxy>
#include <QString>

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <variant>

class QNetworkAccessManager;

namespace sw {

class NetworkRoute {
public:
    // All requests, http and https alike, go through the HTTP proxy at host and port.
    struct Http {
        QString host;
        int port = 0;
    };
    // All requests go through the SOCKS proxy at host and port; names are resolved by the proxy.
    struct Socks {
        QString host;
        int port = 0;
    };
    // The system's own proxy settings apply, asked anew for each request.
    struct System {};
    // No proxy at all, whatever the system's settings or the environment say.
    struct Direct {};

    // The kind of a proxy route, coded as "http" or "socks".
    enum class Kind { http, socks };
    static constexpr std::array<Kind, 2> allKinds() { return {Kind::http, Kind::socks}; }
    static QString kindRawValue(Kind kind);
    // Exactly "http" or "socks" (case matters), else none.
    static std::optional<Kind> kindFromRawValue(const QString &text);

    NetworkRoute() : m_value(System{}) {}
    NetworkRoute(Http http) : m_value(std::move(http)) {}
    NetworkRoute(Socks socks) : m_value(std::move(socks)) {}
    NetworkRoute(System) : m_value(System{}) {}
    NetworkRoute(Direct) : m_value(Direct{}) {}
    static NetworkRoute system() { return NetworkRoute(System{}); }
    static NetworkRoute direct() { return NetworkRoute(Direct{}); }

    const std::variant<Http, Socks, System, Direct> &value() const { return m_value; }
    const Http *asHttp() const { return std::get_if<Http>(&m_value); }
    const Socks *asSocks() const { return std::get_if<Socks>(&m_value); }
    bool isSystem() const { return std::holds_alternative<System>(m_value); }
    bool isDirect() const { return std::holds_alternative<Direct>(m_value); }

    // "http://host:port", "socks://host:port", "system" or "direct". The host is written as it is
    // stored: nothing escaped, nothing put in brackets.
    QString rawValue() const;
    // The route a text form names: "system" and "direct" exactly, or an address with the scheme
    // "http" or "socks" (case matters), a host and a port; else none.
    static std::optional<NetworkRoute> fromRawValue(const QString &text);

    // A proxy route with the host trimmed of white space; none for an empty host or a port
    // outside 1...65535.
    static std::optional<NetworkRoute> proxy(Kind kind, const QString &host, std::int64_t port);

    // The routes named by proxy lines pasted from a terminal ("export https_proxy=...; export
    // all_proxy=..."): none, the HTTP route, the SOCKS route, or both in that order.
    static QList<NetworkRoute> routesFromPasted(const QString &pasted);
    // The same choice made from settings already read: "https_proxy" (else "http_proxy") gives the
    // HTTP route, "all_proxy" the SOCKS route; each name in lower case, else in upper case.
    static QList<NetworkRoute> routesFromSettings(const QHash<QString, QString> &settings);

    // The proxy a network manager gets for this route: an HTTP proxy, a SOCKS5 proxy (resolving
    // names remotely), or no proxy for direct. None for system, whose proxy is asked of the
    // system for each request.
    std::optional<QNetworkProxy> networkProxy() const;
    // Puts this route's proxy settings on a network manager.
    void applyTo(QNetworkAccessManager &manager) const;

    friend bool operator==(const NetworkRoute &a, const NetworkRoute &b);

private:
    std::variant<Http, Socks, System, Direct> m_value;
};

std::size_t qHash(const NetworkRoute &route, std::size_t seed = 0) noexcept;

}  // namespace sw

template <> struct std::hash<sw::NetworkRoute> {
    std::size_t operator()(const sw::NetworkRoute &route) const noexcept { return sw::qHash(route, 0); }
};
