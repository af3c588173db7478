#include "ui/views/ApplicationAccessible.h"

#include "ui/views/AccessibleInterfaceFactory.h"
#include "ui/views/WindowTitleAnnouncer.h"

#include <QApplication>

LW_INSTALL_ACCESSIBLE_AT_START(ApplicationAccessible)

ApplicationAccessible::ApplicationAccessible(QApplication*)
{
}

void ApplicationAccessible::install()
{
    installAccessibleInterface<ApplicationAccessible, QApplication>();
    // Only once there is an application to watch.
    WindowTitleAnnouncer::install();
}

QString ApplicationAccessible::text(QAccessible::Text kind) const
{
    return kind == QAccessible::Name ? QGuiApplication::applicationDisplayName() : QAccessibleApplication::text(kind);
}
