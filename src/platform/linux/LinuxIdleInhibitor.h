#pragma once
// A logind inhibitor lock ("idle", mode "block") held for the time of the
// activity: the session does not idle into sleep meanwhile, while a suspend
// the user asks for is never held up. logind hands out a file descriptor and
// keeps the lock until every copy of it is closed. Without logind the
// activity runs unprotected.
#include "platform/IdleInhibitor.h"
#include "platform/linux/DBusServiceClient.h"

class LinuxIdleInhibitor : public IdleInhibitor {
public:
    static inline const QString LogindService = QStringLiteral("org.freedesktop.login1");

    explicit LinuxIdleInhibitor(QDBusConnection bus, QString service = LogindService,
                                int timeoutMs = DBusServiceClient::DefaultTimeoutMs);

    void performActivity(const QString& reason, const std::function<void()>& block) override;

private:
    DBusServiceClient m_logind;
};
