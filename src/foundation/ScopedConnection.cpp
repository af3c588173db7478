#include "foundation/ScopedConnection.h"

#include <QObject>
#include <utility>

ScopedConnection::ScopedConnection(QMetaObject::Connection connection)
    : m_connection(std::move(connection))
{
}

ScopedConnection::~ScopedConnection()
{
    disconnect();
}

ScopedConnection::ScopedConnection(ScopedConnection&& other) noexcept
    : m_connection(std::exchange(other.m_connection, {}))
{
}

ScopedConnection& ScopedConnection::operator=(ScopedConnection&& other) noexcept
{
    if (this != &other) {
        disconnect();
        m_connection = std::exchange(other.m_connection, {});
    }
    return *this;
}

void ScopedConnection::disconnect()
{
    if (m_connection)
        QObject::disconnect(m_connection);
    m_connection = {};
}

bool ScopedConnection::isConnected() const
{
    return static_cast<bool>(m_connection);
}
