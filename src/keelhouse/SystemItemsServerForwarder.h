#pragma once
// A SystemItemsServerInterface that hands every callback, by its bus name and
// arguments, to one function: the service sends them over the bus with it,
// tests record them.
#include "keelhouse/SystemItemsServerCallbacks.h"

#include <functional>

class SystemItemsServerForwarder : public SystemItemsServerInterface {
public:
    using Sink = std::function<void(const QString& name, const QVariantList& arguments)>;

    // An empty sink drops every callback.
    explicit SystemItemsServerForwarder(Sink sink = {});

    void keelhouseDidFailInitializingItemsHandler() override;
    void keelhouseDidBeginReading() override;
    void keelhouseDidEndReading() override;
    void keelhouseDidBeginReadingItem(const QVariantMap& item) override;
    void keelhouseDidEndReadingItem(const QVariantMap& item) override;
    void keelhouseDidBeginCreating() override;
    void keelhouseDidEndCreating() override;
    void keelhouseDidBeginCreatingItem(const QVariantMap& item) override;
    void keelhouseDidEndCreatingItem(const QVariantMap& item) override;
    void keelhouseDidBeginDeleting() override;
    void keelhouseDidEndDeleting() override;
    void keelhouseDidBeginDeletingItem(const QVariantMap& item) override;
    void keelhouseDidEndDeletingItem(const QVariantMap& item) override;
    void keelhouseDidBeginUninstalling() override;
    void keelhouseDidEndUninstalling() override;
    void keelhouseDidBeginUninstallingItem(const QVariantMap& item) override;
    void keelhouseDidEndUninstallingItem(const QVariantMap& item) override;
    void keelhouseDidBeginHandlingLanternwick(const QVariantMap& item) override;
    void keelhouseDidEndHandlingLanternwick(const QVariantMap& item) override;
    void keelhouseDidFindLanternwick(const QVariantMap& item) override;
    void keelhouseDidFindIgnoredItem(const QVariantMap& item) override;
    void keelhouseDidFindApplicationItem(const QVariantMap& item) override;
    void keelhouseDidFindUnknownItem(const QVariantMap& item) override;
    void keelhouseDidFailItem(const QVariantMap& item) override;
    void keelhouseDidFailReadingItem(const QVariantMap& item) override;
    void keelhouseDidFailCreatingItem(const QVariantMap& item) override;
    void keelhouseDidFailDeletingItem(const QVariantMap& item) override;

private:
    void forward(SystemItemsServerCallbacks::Plain method);
    void forward(SystemItemsServerCallbacks::WithItem method, const QVariantMap& item);

    Sink m_sink;
};
