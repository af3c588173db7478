#include "keelhouse/SystemItemsServerCallbacks.h"

#include "keelhouse/DBusRecords.h"
#include "keelhouse/KeelhouseBus.h"

using I = SystemItemsServerInterface;

const QList<SystemItemsServerCallbacks::Callback>& SystemItemsServerCallbacks::all()
{
    static const QList<Callback> callbacks {
        { QStringLiteral("KeelhouseDidFailInitializingItemsHandler"), &I::keelhouseDidFailInitializingItemsHandler, nullptr },
        { QStringLiteral("KeelhouseDidBeginReading"), &I::keelhouseDidBeginReading, nullptr },
        { QStringLiteral("KeelhouseDidEndReading"), &I::keelhouseDidEndReading, nullptr },
        { QStringLiteral("KeelhouseDidBeginReadingItem"), nullptr, &I::keelhouseDidBeginReadingItem },
        { QStringLiteral("KeelhouseDidEndReadingItem"), nullptr, &I::keelhouseDidEndReadingItem },
        { QStringLiteral("KeelhouseDidBeginCreating"), &I::keelhouseDidBeginCreating, nullptr },
        { QStringLiteral("KeelhouseDidEndCreating"), &I::keelhouseDidEndCreating, nullptr },
        { QStringLiteral("KeelhouseDidBeginCreatingItem"), nullptr, &I::keelhouseDidBeginCreatingItem },
        { QStringLiteral("KeelhouseDidEndCreatingItem"), nullptr, &I::keelhouseDidEndCreatingItem },
        { QStringLiteral("KeelhouseDidBeginDeleting"), &I::keelhouseDidBeginDeleting, nullptr },
        { QStringLiteral("KeelhouseDidEndDeleting"), &I::keelhouseDidEndDeleting, nullptr },
        { QStringLiteral("KeelhouseDidBeginDeletingItem"), nullptr, &I::keelhouseDidBeginDeletingItem },
        { QStringLiteral("KeelhouseDidEndDeletingItem"), nullptr, &I::keelhouseDidEndDeletingItem },
        { QStringLiteral("KeelhouseDidBeginUninstalling"), &I::keelhouseDidBeginUninstalling, nullptr },
        { QStringLiteral("KeelhouseDidEndUninstalling"), &I::keelhouseDidEndUninstalling, nullptr },
        { QStringLiteral("KeelhouseDidBeginUninstallingItem"), nullptr, &I::keelhouseDidBeginUninstallingItem },
        { QStringLiteral("KeelhouseDidEndUninstallingItem"), nullptr, &I::keelhouseDidEndUninstallingItem },
        { QStringLiteral("KeelhouseDidBeginHandlingLanternwick"), nullptr, &I::keelhouseDidBeginHandlingLanternwick },
        { QStringLiteral("KeelhouseDidEndHandlingLanternwick"), nullptr, &I::keelhouseDidEndHandlingLanternwick },
        { QStringLiteral("KeelhouseDidFindLanternwick"), nullptr, &I::keelhouseDidFindLanternwick },
        { QStringLiteral("KeelhouseDidFindIgnoredItem"), nullptr, &I::keelhouseDidFindIgnoredItem },
        { QStringLiteral("KeelhouseDidFindApplicationItem"), nullptr, &I::keelhouseDidFindApplicationItem },
        { QStringLiteral("KeelhouseDidFindUnknownItem"), nullptr, &I::keelhouseDidFindUnknownItem },
        { QStringLiteral("KeelhouseDidFailItem"), nullptr, &I::keelhouseDidFailItem },
        { QStringLiteral("KeelhouseDidFailReadingItem"), nullptr, &I::keelhouseDidFailReadingItem },
        { QStringLiteral("KeelhouseDidFailCreatingItem"), nullptr, &I::keelhouseDidFailCreatingItem },
        { QStringLiteral("KeelhouseDidFailDeletingItem"), nullptr, &I::keelhouseDidFailDeletingItem },
    };
    return callbacks;
}

const SystemItemsServerCallbacks::Callback* SystemItemsServerCallbacks::find(const QString& name)
{
    for (const Callback& callback : all()) {
        if (callback.name == name)
            return &callback;
    }
    return nullptr;
}

QString SystemItemsServerCallbacks::nameOf(Plain method)
{
    for (const Callback& callback : all()) {
        if (callback.plain == method)
            return callback.name;
    }
    return {};
}

QString SystemItemsServerCallbacks::nameOf(WithItem method)
{
    for (const Callback& callback : all()) {
        if (callback.withItem == method)
            return callback.name;
    }
    return {};
}

bool SystemItemsServerCallbacks::deliver(SystemItemsServerInterface& target, const QString& name, const QVariantList& arguments)
{
    const Callback* callback = find(name);
    if (!callback)
        return false;
    if (callback->plain) {
        if (!arguments.isEmpty())
            return false;
        (target.*callback->plain)();
        return true;
    }
    if (arguments.size() != 1)
        return false;
    const std::optional<QVariantMap> item = DBusRecords::record(arguments.first());
    if (!item)
        return false;
    (target.*callback->withItem)(*item);
    return true;
}

QString SystemItemsServerCallbacks::introspectionXml()
{
    QString xml = QStringLiteral("<interface name=\"%1\">\n").arg(KeelhouseBus::systemItemsServerInterface);
    for (const Callback& callback : all()) {
        if (callback.plain)
            xml += QStringLiteral("<method name=\"%1\">%2</method>\n").arg(callback.name, DBusRecords::noReplyAnnotation());
        else
            xml += QStringLiteral("<method name=\"%1\"><arg name=\"item\" type=\"a{sv}\" direction=\"in\"/>%2</method>\n")
                       .arg(callback.name, DBusRecords::noReplyAnnotation());
    }
    return xml + QStringLiteral("</interface>\n");
}
