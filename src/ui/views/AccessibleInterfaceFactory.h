#pragma once
// Makes Accessible the interface of every widget whose class is named
// Accessible::kClassName and which is a Widget. Installed once, with the
// application (Q_COREAPP_STARTUP_FUNCTION), before any widget exists: Qt may
// make an interface for a widget while its base class is still being built,
// and keeps that one.
#include <QAccessible>

template <typename Accessible, typename Widget>
void installAccessibleInterface()
{
    static const bool installed = [] {
        QAccessible::installFactory([](const QString& className, QObject* object) -> QAccessibleInterface* {
            auto* widget = qobject_cast<Widget*>(object);
            return widget && className == QLatin1String(Accessible::kClassName) ? new Accessible(widget) : nullptr;
        });
        return true;
    }();
    Q_UNUSED(installed);
}
