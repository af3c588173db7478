#pragma once
// The four operations of the service on the session's login items list. Each
// runs to its end on a fresh LoginItemsHandler and reports every step, in a
// fixed order, to the session's callback object.
#include "keelhouse/KeelhouseSession.h"
#include "keelhouse/LoginItemsHandler.h"

#include <QVariantList>
#include <functional>
#include <memory>

class KeelhouseDelegate {
public:
    // For the desktop the client runs in, when it said; null when the list
    // cannot be opened.
    using HandlerFactory = std::function<std::unique_ptr<LoginItemsHandler>(const std::optional<QString>& currentDesktop)>;

    explicit KeelhouseDelegate(HandlerFactory handlerFactory = &LoginItemsHandler::create);

    void readSystemItemsWithIgnoredItems(KeelhouseSession& session, const QVariantList& ignoredItems,
                                         const QVariantList& applicationItems, const QString& lanternwickBundlePath);
    void uninstallLanternwickWithIgnoredItems(KeelhouseSession& session, const QVariantList& ignoredItems,
                                              const QVariantList& applicationItems);
    void createSystemItemsWithItems(KeelhouseSession& session, const QVariantList& items);
    void deleteSystemItemsWithItems(KeelhouseSession& session, const QVariantList& items);

    // The record as it may leave the service: without its list handle.
    static QVariantMap remoteItemDataFromItem(const QVariantMap& item);

private:
    using Task = std::function<void(LoginItemsHandler& handler, SystemItemsServerInterface& server)>;

    void runTaskWithItemsHandlerBlock(const KeelhouseSession& session, const QString& preventingOption, const Task& task);
    void createSystemItemWithData(const QVariantMap& item, LoginItemsHandler& handler, SystemItemsServerInterface& server);
    void createLanternwickSystemItemWithPath(const QString& path, LoginItemsHandler& handler, SystemItemsServerInterface& server);
    // startedBy: the item that starts the entry's program, for which the entry is kept.
    void removeReportingFailure(const QVariantMap& entry, LoginItemsHandler& handler, SystemItemsServerInterface& server,
                                const QString& startedBy = {});

    HandlerFactory m_handlerFactory;
};
