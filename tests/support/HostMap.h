#pragma once

// The names a test proxy resolves. A proxy connects only to 127.0.0.1 (or ::1): either a name the
// test mapped to a local port, or a loopback address written out. Any other name is refused, so a
// request that reaches a server through a mapped name proves the proxy carried it, and no test
// ever reaches beyond the machine.

#include <QByteArray>
#include <QHash>
#include <QHostAddress>

#include <optional>

namespace sw::test {

// A name that nothing but the test's proxies resolves (".invalid" is reserved for that use).
inline constexpr const char *kProxyOnlyHost = "stashwell-fixture.invalid";

struct Endpoint {
    QHostAddress address;
    quint16 port = 0;
};

class HostMap {
public:
    // Maps a host name (compared case-insensitively) to a port on 127.0.0.1. Port 0 keeps the port
    // the client asked for.
    void add(const QByteArray &name, quint16 port = 0);
    void clear() { m_names.clear(); }

    // Where a request for host:port goes, or none when the host is neither mapped nor loopback.
    std::optional<Endpoint> resolve(const QByteArray &host, quint16 port) const;

private:
    QHash<QByteArray, quint16> m_names;
};

}  // namespace sw::test
