#include "ui/views/ApplicationAccessible.h"

#include "ui/views/AccessibleInterfaceFactory.h"
#include "ui/views/WindowTitleAnnouncer.h"

#include <QApplication>

namespace {

void installAtStart()
{
    ApplicationAccessible::install();
    WindowTitleAnnouncer::install();
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installAtStart)

ApplicationAccessible::ApplicationAccessible(QApplication*)
{
}

void ApplicationAccessible::install()
{
    installAccessibleInterface<ApplicationAccessible, QApplication>();
}

QString ApplicationAccessible::text(QAccessible::Text kind) const
{
    return kind == QAccessible::Name ? QGuiApplication::applicationDisplayName() : QAccessibleApplication::text(kind);
}
