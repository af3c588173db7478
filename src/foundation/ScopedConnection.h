#pragma once
// Owns one signal connection and cuts it when it goes out of scope, so an
// observer that dies first can never be called through a dangling slot.
#include <QMetaObject>

class ScopedConnection {
public:
    ScopedConnection() = default;
    ScopedConnection(QMetaObject::Connection connection); // NOLINT: wraps implicitly by design
    ~ScopedConnection();
    ScopedConnection(ScopedConnection&& other) noexcept;
    ScopedConnection& operator=(ScopedConnection&& other) noexcept;
    ScopedConnection(const ScopedConnection&) = delete;
    ScopedConnection& operator=(const ScopedConnection&) = delete;

    void disconnect();
    bool isConnected() const;

private:
    QMetaObject::Connection m_connection;
};
