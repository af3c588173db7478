#pragma once
// User notifications through the desktop's notification server
// (org.freedesktop.Notifications on the session bus). A session without one
// is warned about once; later notifications then simply fail.
#include "platform/linux/DBusServiceClient.h"

#include <QString>
#include <optional>

class DesktopNotifications {
public:
    static inline const QString NotificationsService = QStringLiteral("org.freedesktop.Notifications");

    DesktopNotifications(QDBusConnection bus, QString applicationName, QString service = NotificationsService);

    // False when the server did not take the notification.
    bool notify(const QString& title, const QString& informativeText);

private:
    // Servers that read markup in the body would act on names with '<' or '&'.
    bool bodyTakesMarkup();

    DBusServiceClient m_server;
    QString m_applicationName;
    std::optional<bool> m_bodyTakesMarkup;
};
