#pragma once
// The callbacks the service sends back to the application. Records are system
// item records (MHKeelhouseKeys, never with "ref"), except the item data
// dictionaries handed back while uninstalling.
#include <QVariantMap>

class SystemItemsServerInterface {
public:
    virtual ~SystemItemsServerInterface() = default;

    virtual void keelhouseDidFailInitializingItemsHandler() = 0;
    virtual void keelhouseDidBeginReading() = 0;
    virtual void keelhouseDidEndReading() = 0;
    virtual void keelhouseDidBeginReadingItem(const QVariantMap& item) = 0;
    virtual void keelhouseDidEndReadingItem(const QVariantMap& item) = 0;
    virtual void keelhouseDidBeginCreating() = 0;
    virtual void keelhouseDidEndCreating() = 0;
    virtual void keelhouseDidBeginCreatingItem(const QVariantMap& item) = 0;
    virtual void keelhouseDidEndCreatingItem(const QVariantMap& item) = 0;
    virtual void keelhouseDidBeginDeleting() = 0;
    virtual void keelhouseDidEndDeleting() = 0;
    virtual void keelhouseDidBeginDeletingItem(const QVariantMap& item) = 0;
    virtual void keelhouseDidEndDeletingItem(const QVariantMap& item) = 0;
    virtual void keelhouseDidBeginUninstalling() = 0;
    virtual void keelhouseDidEndUninstalling() = 0;
    virtual void keelhouseDidBeginUninstallingItem(const QVariantMap& item) = 0;
    virtual void keelhouseDidEndUninstallingItem(const QVariantMap& item) = 0;
    virtual void keelhouseDidBeginHandlingLanternwick(const QVariantMap& item) = 0;
    virtual void keelhouseDidEndHandlingLanternwick(const QVariantMap& item) = 0;
    virtual void keelhouseDidFindLanternwick(const QVariantMap& item) = 0;
    virtual void keelhouseDidFindIgnoredItem(const QVariantMap& item) = 0;
    virtual void keelhouseDidFindApplicationItem(const QVariantMap& item) = 0;
    virtual void keelhouseDidFindUnknownItem(const QVariantMap& item) = 0;
    virtual void keelhouseDidFailItem(const QVariantMap& item) = 0;
    virtual void keelhouseDidFailReadingItem(const QVariantMap& item) = 0;
    virtual void keelhouseDidFailCreatingItem(const QVariantMap& item) = 0;
    virtual void keelhouseDidFailDeletingItem(const QVariantMap& item) = 0;
};
