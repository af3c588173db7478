#pragma once
// The application's own accessible interfaces are installed with the
// application (LW_INSTALL_ACCESSIBLE_AT_START), before any widget exists: Qt
// may make an interface for a widget while its base class is still being
// built, and keeps that one. The widget that needs an interface also calls
// its install(), which links it into the program. Qt keeps one of each
// factory, however often it is installed.
#include <QAccessible>
#include <QCoreApplication>

// Makes Accessible the interface of every object of class Widget (its
// subclasses keep their own).
template <typename Accessible, typename Widget>
void installAccessibleInterface()
{
    QAccessible::installFactory([](const QString& className, QObject* object) -> QAccessibleInterface* {
        auto* widget = qobject_cast<Widget*>(object);
        return widget && className == QLatin1String(Widget::staticMetaObject.className()) ? new Accessible(widget) : nullptr;
    });
}

#define LW_INSTALL_ACCESSIBLE_AT_START(Accessible)   \
    namespace {                                      \
    void install##Accessible##AtStart()              \
    {                                                \
        Accessible::install();                       \
    }                                                \
    }                                                \
    Q_COREAPP_STARTUP_FUNCTION(install##Accessible##AtStart)
