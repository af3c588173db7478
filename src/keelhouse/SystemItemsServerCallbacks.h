#pragma once
// The one table of the callbacks of SystemItemsServerInterface with their
// names on the bus (the method name with a capital first letter), so that
// senders, receivers and the introspection data cannot drift apart.
#include "keelhouse/SystemItemsServerInterface.h"

#include <QList>
#include <QString>

class SystemItemsServerCallbacks {
public:
    using Plain = void (SystemItemsServerInterface::*)();
    using WithItem = void (SystemItemsServerInterface::*)(const QVariantMap&);

    // Exactly one of plain and withItem is set.
    struct Callback {
        QString name;
        Plain plain = nullptr;
        WithItem withItem = nullptr;
    };

    static const QList<Callback>& all();
    static const Callback* find(const QString& name);
    static QString nameOf(Plain method);
    static QString nameOf(WithItem method);

    // Calls the callback a message names on target; false for an unknown
    // name or arguments that do not fit it.
    static bool deliver(SystemItemsServerInterface& target, const QString& name, const QVariantList& arguments);

    // The <interface> element of the introspection data.
    static QString introspectionXml();
};
