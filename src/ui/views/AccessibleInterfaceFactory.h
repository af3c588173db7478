#pragma once
// Makes Accessible the interface of every object of class Widget (its
// subclasses keep their own). Installed once, with the application
// (Q_COREAPP_STARTUP_FUNCTION), before any widget exists: Qt may make an
// interface for a widget while its base class is still being built, and
// keeps that one.
#include <QAccessible>

template <typename Accessible, typename Widget>
void installAccessibleInterface()
{
    static const bool installed = [] {
        QAccessible::installFactory([](const QString& className, QObject* object) -> QAccessibleInterface* {
            auto* widget = qobject_cast<Widget*>(object);
            return widget && className == QLatin1String(Widget::staticMetaObject.className()) ? new Accessible(widget) : nullptr;
        });
        return true;
    }();
    Q_UNUSED(installed);
}
