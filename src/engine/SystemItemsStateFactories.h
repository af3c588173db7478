#pragma once
// Makes the context build the search, change-watch and system items states
// for their kinds.
#include <QDBusConnection>

class ApplicationContext;

class SystemItemsStateFactories {
public:
    // connection: the bus the login items service is reached on.
    static void registerWithContext(ApplicationContext& context, QDBusConnection connection = QDBusConnection::sessionBus());
};
