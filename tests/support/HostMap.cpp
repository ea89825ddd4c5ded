#include "HostMap.h"

namespace sw::test {

void HostMap::add(const QByteArray &name, quint16 port)
{
    m_names.insert(name.toLower(), port);
}

std::optional<Endpoint> HostMap::resolve(const QByteArray &host, quint16 port) const
{
    QByteArray name = host.toLower();
    if (name.startsWith('[') && name.endsWith(']'))
        name = name.mid(1, name.size() - 2);
    if (const auto it = m_names.constFind(name); it != m_names.constEnd())
        return Endpoint{QHostAddress(QHostAddress::LocalHost), it.value() != 0 ? it.value() : port};
    if (name == "localhost")
        return Endpoint{QHostAddress(QHostAddress::LocalHost), port};
    const QHostAddress literal(QString::fromLatin1(name));
    if (!literal.isNull() && literal.isLoopback())
        return Endpoint{literal, port};
    return std::nullopt;
}

}  // namespace sw::test
