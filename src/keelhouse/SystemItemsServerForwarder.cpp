#include "keelhouse/SystemItemsServerForwarder.h"

using I = SystemItemsServerInterface;

SystemItemsServerForwarder::SystemItemsServerForwarder(Sink sink)
    : m_sink(std::move(sink))
{
}

void SystemItemsServerForwarder::forward(SystemItemsServerCallbacks::Plain method)
{
    if (m_sink)
        m_sink(SystemItemsServerCallbacks::nameOf(method), {});
}

void SystemItemsServerForwarder::forward(SystemItemsServerCallbacks::WithItem method, const QVariantMap& item)
{
    if (m_sink)
        m_sink(SystemItemsServerCallbacks::nameOf(method), { item });
}

void SystemItemsServerForwarder::keelhouseDidFailInitializingItemsHandler() { forward(&I::keelhouseDidFailInitializingItemsHandler); }
void SystemItemsServerForwarder::keelhouseDidBeginReading() { forward(&I::keelhouseDidBeginReading); }
void SystemItemsServerForwarder::keelhouseDidEndReading() { forward(&I::keelhouseDidEndReading); }
void SystemItemsServerForwarder::keelhouseDidBeginCreating() { forward(&I::keelhouseDidBeginCreating); }
void SystemItemsServerForwarder::keelhouseDidEndCreating() { forward(&I::keelhouseDidEndCreating); }
void SystemItemsServerForwarder::keelhouseDidBeginDeleting() { forward(&I::keelhouseDidBeginDeleting); }
void SystemItemsServerForwarder::keelhouseDidEndDeleting() { forward(&I::keelhouseDidEndDeleting); }
void SystemItemsServerForwarder::keelhouseDidBeginUninstalling() { forward(&I::keelhouseDidBeginUninstalling); }
void SystemItemsServerForwarder::keelhouseDidEndUninstalling() { forward(&I::keelhouseDidEndUninstalling); }
void SystemItemsServerForwarder::keelhouseDidBeginReadingItem(const QVariantMap& item) { forward(&I::keelhouseDidBeginReadingItem, item); }
void SystemItemsServerForwarder::keelhouseDidEndReadingItem(const QVariantMap& item) { forward(&I::keelhouseDidEndReadingItem, item); }
void SystemItemsServerForwarder::keelhouseDidBeginCreatingItem(const QVariantMap& item) { forward(&I::keelhouseDidBeginCreatingItem, item); }
void SystemItemsServerForwarder::keelhouseDidEndCreatingItem(const QVariantMap& item) { forward(&I::keelhouseDidEndCreatingItem, item); }
void SystemItemsServerForwarder::keelhouseDidBeginDeletingItem(const QVariantMap& item) { forward(&I::keelhouseDidBeginDeletingItem, item); }
void SystemItemsServerForwarder::keelhouseDidEndDeletingItem(const QVariantMap& item) { forward(&I::keelhouseDidEndDeletingItem, item); }
void SystemItemsServerForwarder::keelhouseDidBeginUninstallingItem(const QVariantMap& item) { forward(&I::keelhouseDidBeginUninstallingItem, item); }
void SystemItemsServerForwarder::keelhouseDidEndUninstallingItem(const QVariantMap& item) { forward(&I::keelhouseDidEndUninstallingItem, item); }
void SystemItemsServerForwarder::keelhouseDidBeginHandlingLanternwick(const QVariantMap& item) { forward(&I::keelhouseDidBeginHandlingLanternwick, item); }
void SystemItemsServerForwarder::keelhouseDidEndHandlingLanternwick(const QVariantMap& item) { forward(&I::keelhouseDidEndHandlingLanternwick, item); }
void SystemItemsServerForwarder::keelhouseDidFindLanternwick(const QVariantMap& item) { forward(&I::keelhouseDidFindLanternwick, item); }
void SystemItemsServerForwarder::keelhouseDidFindIgnoredItem(const QVariantMap& item) { forward(&I::keelhouseDidFindIgnoredItem, item); }
void SystemItemsServerForwarder::keelhouseDidFindApplicationItem(const QVariantMap& item) { forward(&I::keelhouseDidFindApplicationItem, item); }
void SystemItemsServerForwarder::keelhouseDidFindUnknownItem(const QVariantMap& item) { forward(&I::keelhouseDidFindUnknownItem, item); }
void SystemItemsServerForwarder::keelhouseDidFailItem(const QVariantMap& item) { forward(&I::keelhouseDidFailItem, item); }
void SystemItemsServerForwarder::keelhouseDidFailReadingItem(const QVariantMap& item) { forward(&I::keelhouseDidFailReadingItem, item); }
void SystemItemsServerForwarder::keelhouseDidFailCreatingItem(const QVariantMap& item) { forward(&I::keelhouseDidFailCreatingItem, item); }
void SystemItemsServerForwarder::keelhouseDidFailDeletingItem(const QVariantMap& item) { forward(&I::keelhouseDidFailDeletingItem, item); }
