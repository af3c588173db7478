#pragma once
// Wake from sleep as logind reports it: PrepareForSleep(false) on the system
// bus once the machine runs again. Without logind nothing is ever reported.
#include "platform/WakeWatcher.h"

#include <QDBusConnection>
#include <QObject>

class LogindWakeWatcher : public QObject, public WakeWatcher {
    Q_OBJECT
public:
    static inline const QString LogindService = QStringLiteral("org.freedesktop.login1");

    explicit LogindWakeWatcher(QDBusConnection bus = QDBusConnection::systemBus(), const QString& service = LogindService);

    void setWakeHandler(Handler handler) override { m_handler = std::move(handler); }

private Q_SLOTS:
    void prepareForSleep(bool sleeping);

private:
    Handler m_handler;
};
