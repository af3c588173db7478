#include "keelhouse/KeelhouseDelegate.h"

#include "foundation/Log.h"
#include "foundation/MHDebugOptions.h"
#include "foundation/MHItemDataKeys.h"
#include "foundation/MHKeelhouseKeys.h"
#include "keelhouse/KeelhouseBus.h"
#include "keelhouse/SystemItemsServerForwarder.h"

namespace {

// The name the application's own entry shows under in the session's settings.
const QString kLanternwickEntryName = QStringLiteral("Lanternwick");

QList<QVariantMap> snapshot(LoginItemsHandler& handler)
{
    QList<QVariantMap> entries;
    handler.enumerateItemsWithBlock([&](const QVariantMap& item, qsizetype, bool&) { entries.append(item); });
    return entries;
}

// A request names an entry by its file; only an entry whose file could not be
// found is named by its display name.
bool isRequested(const LoginItemsHandler& handler, const QVariantMap& entry, const QVariantList& requests)
{
    const QString path = entry.value(MHKeelhouseKeys::path).toString();
    const QString name = entry.value(MHKeelhouseKeys::name).toString();
    for (const QVariant& request : requests) {
        const QVariantMap record = request.toMap();
        const QString requestedPath = record.value(MHKeelhouseKeys::path).toString();
        const QString requestedName = record.value(MHKeelhouseKeys::name).toString();
        if (!requestedPath.isEmpty() ? handler.isEntryForPath(entry, requestedPath)
                                     : path.isEmpty() && !requestedName.isEmpty() && requestedName == name)
            return true;
    }
    return false;
}

} // namespace

KeelhouseDelegate::KeelhouseDelegate(HandlerFactory handlerFactory)
    : m_handlerFactory(std::move(handlerFactory))
{
}

QVariantMap KeelhouseDelegate::remoteItemDataFromItem(const QVariantMap& item)
{
    QVariantMap remote = item;
    remote.remove(MHKeelhouseKeys::ref);
    return remote;
}

void KeelhouseDelegate::runTaskWithItemsHandlerBlock(const KeelhouseSession& session, const QString& preventingOption, const Task& task)
{
    if (session.debugOptions.value(preventingOption).toBool()) {
        LOG_DEBUG("Skipping request prevented by debug option %1", preventingOption);
        return;
    }
    SystemItemsServerForwarder nowhere;
    SystemItemsServerInterface& server = session.server ? *session.server : nowhere;
    // Entries are shown in the desktop the application runs in, whatever the
    // bus's activation environment says.
    const QVariant desktop = session.debugOptions.value(KeelhouseBus::currentDesktopOption);
    std::unique_ptr<LoginItemsHandler> handler = m_handlerFactory(desktop.isValid() ? std::optional(desktop.toString()) : std::nullopt);
    if (!handler) {
        LOG_ERROR("Failed initializing login items handler!");
        server.keelhouseDidFailInitializingItemsHandler();
        return;
    }
    task(*handler, server);
}

void KeelhouseDelegate::createSystemItemWithData(const QVariantMap& item, LoginItemsHandler& handler, SystemItemsServerInterface& server)
{
    // Creating what is already in the list (as the request's snapshot and
    // its creations so far have it) would only start the item twice.
    const QString path = item.value(MHKeelhouseKeys::path).toString();
    if (handler.hasEntryForPath(path)) {
        LOG_VERBOSE("Not creating login item for %1: already in the list", log_escaped(path));
        return;
    }
    if (item.value(MHKeelhouseKeys::disabled).toBool())
        LOG_INFO("Login item for %1 is handed back switched off", log_escaped(path));
    server.keelhouseDidBeginCreatingItem(item);
    if (!handler.addItem(item)) {
        LOG_ERROR("Failed creating login item for %1: %2", log_escaped(path), log_escaped(handler.lastErrorReason()));
        // The failed record says why.
        QVariantMap failed = item;
        failed.insert(MHKeelhouseKeys::error, handler.lastErrorCode());
        failed.insert(MHKeelhouseKeys::reason, handler.lastErrorReason());
        server.keelhouseDidFailCreatingItem(failed);
        server.keelhouseDidFailItem(failed);
    }
    server.keelhouseDidEndCreatingItem(item);
}

void KeelhouseDelegate::createLanternwickSystemItemWithPath(const QString& path, LoginItemsHandler& handler, SystemItemsServerInterface& server)
{
    QVariantMap item = handler.itemDataFromPath(path);
    item.insert(MHKeelhouseKeys::name, kLanternwickEntryName);
    server.keelhouseDidBeginHandlingLanternwick(item);
    createSystemItemWithData(item, handler, server);
    server.keelhouseDidEndHandlingLanternwick(item);
}

void KeelhouseDelegate::removeReportingFailure(const QVariantMap& entry, LoginItemsHandler& handler, SystemItemsServerInterface& server,
                                               const QString& startedBy)
{
    if (handler.removeItem(entry, startedBy))
        return;
    const QVariantMap item = remoteItemDataFromItem(entry);
    LOG_ERROR("Failed removing login item %1: %2", log_escaped(entry.value(MHKeelhouseKeys::ref).toString()), handler.lastErrorReason());
    server.keelhouseDidFailDeletingItem(item);
    server.keelhouseDidFailItem(item);
}

void KeelhouseDelegate::createSystemItemsWithItems(KeelhouseSession& session, const QVariantList& items)
{
    runTaskWithItemsHandlerBlock(session, MHDebugOptions::PreventSystemItemsCreating, [&](LoginItemsHandler& handler, SystemItemsServerInterface& server) {
        // One look at the list for the whole request, whatever its size.
        snapshot(handler);
        server.keelhouseDidBeginCreating();
        for (const QVariant& item : items) {
            const QVariantMap record = item.toMap();
            if (record.value(MHKeelhouseKeys::path).toString().isEmpty()) {
                LOG_ERROR("Path is required for adding login items!");
                server.keelhouseDidFailCreatingItem(record);
                server.keelhouseDidFailItem(record);
                continue;
            }
            createSystemItemWithData(record, handler, server);
        }
        server.keelhouseDidEndCreating();
    });
}

void KeelhouseDelegate::deleteSystemItemsWithItems(KeelhouseSession& session, const QVariantList& items)
{
    runTaskWithItemsHandlerBlock(session, MHDebugOptions::PreventSystemItemsDeleting, [&](LoginItemsHandler& handler, SystemItemsServerInterface& server) {
        server.keelhouseDidBeginReading();
        QList<QVariantMap> selected;
        for (const QVariantMap& entry : snapshot(handler)) {
            if (isRequested(handler, entry, items))
                selected.append(entry);
        }
        server.keelhouseDidEndReading();

        server.keelhouseDidBeginDeleting();
        for (const QVariantMap& entry : std::as_const(selected)) {
            const QVariantMap item = remoteItemDataFromItem(entry);
            server.keelhouseDidBeginDeletingItem(item);
            removeReportingFailure(entry, handler, server);
            server.keelhouseDidEndDeletingItem(item);
        }
        server.keelhouseDidEndDeleting();
    });
}

void KeelhouseDelegate::readSystemItemsWithIgnoredItems(KeelhouseSession& session, const QVariantList& ignoredItems,
                                                        const QVariantList& applicationItems, const QString& lanternwickBundlePath)
{
    session.lanternwickPath = lanternwickBundlePath;
    runTaskWithItemsHandlerBlock(session, MHDebugOptions::PreventSystemItemsReading, [&](LoginItemsHandler& handler, SystemItemsServerInterface& server) {
        handler.setLanternwickPath(lanternwickBundlePath);
        server.keelhouseDidBeginReading();
        bool found = false;
        for (const QVariantMap& entry : snapshot(handler)) {
            const QVariantMap item = remoteItemDataFromItem(entry);
            server.keelhouseDidBeginReadingItem(item);
            if (LoginItemsHandler::isError(entry)) {
                server.keelhouseDidFailReadingItem(item);
                server.keelhouseDidFailItem(item);
            } else if (handler.isLanternwick(entry)) {
                found = true;
                server.keelhouseDidFindLanternwick(item);
            } else if (handler.isItemContainedIn(entry, ignoredItems)) {
                server.keelhouseDidFindIgnoredItem(item);
            } else if (const QString itemPath = handler.pathOfItemFor(entry, applicationItems); !itemPath.isEmpty()) {
                // The application starts this item itself.
                server.keelhouseDidFindApplicationItem(item);
                removeReportingFailure(entry, handler, server, itemPath);
            } else {
                server.keelhouseDidFindUnknownItem(item);
            }
            server.keelhouseDidEndReadingItem(item);
        }
        if (!found && !lanternwickBundlePath.isEmpty())
            createLanternwickSystemItemWithPath(lanternwickBundlePath, handler, server);
        server.keelhouseDidEndReading();
    });
}

void KeelhouseDelegate::uninstallLanternwickWithIgnoredItems(KeelhouseSession& session, const QVariantList& ignoredItems,
                                                             const QVariantList& applicationItems)
{
    runTaskWithItemsHandlerBlock(session, MHDebugOptions::PreventUninstallingLanternwick, [&](LoginItemsHandler& handler, SystemItemsServerInterface& server) {
        handler.setLanternwickPath(session.lanternwickPath);
        QVariantList remaining = applicationItems;
        // Ignored items that left the session come back switched off: the
        // desktop lists them and starts none.
        for (const QVariant& ignored : ignoredItems) {
            QVariantMap record = ignored.toMap();
            record.insert(MHItemDataKeys::disabled, true);
            remaining.append(record);
        }
        server.keelhouseDidBeginUninstalling();
        // The whole list: an item may stand anywhere, also after our own entry.
        for (const QVariantMap& entry : snapshot(handler)) {
            const QVariantMap item = remoteItemDataFromItem(entry);
            if (handler.isLanternwick(entry)) {
                server.keelhouseDidBeginHandlingLanternwick(item);
                server.keelhouseDidBeginUninstallingItem(item);
                removeReportingFailure(entry, handler, server);
                server.keelhouseDidEndUninstallingItem(item);
                server.keelhouseDidEndHandlingLanternwick(item);
                continue;
            }
            const qsizetype index = handler.indexOfItem(entry, remaining);
            if (index < 0)
                continue;
            server.keelhouseDidBeginUninstallingItem(item);
            remaining.removeAt(index);
            server.keelhouseDidEndUninstallingItem(item);
        }
        for (const QVariant& record : std::as_const(remaining)) {
            const QVariantMap applicationItem = record.toMap();
            server.keelhouseDidBeginUninstallingItem(applicationItem);
            if (const std::optional<QVariantMap> item = handler.itemDataFromServerData(applicationItem))
                createSystemItemWithData(*item, handler, server);
            server.keelhouseDidEndUninstallingItem(applicationItem);
        }
        server.keelhouseDidEndUninstalling();
    });
}
