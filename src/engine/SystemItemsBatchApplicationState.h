#pragma once
// What the create and delete states share: a batch of entries sent to the
// service in one request, each reported back as done or failed. The entries
// belong to the run (its starter puts them in its ChainRun), so a run that
// waits for this state keeps its own whatever runs come after it.
//
// An entry is listed as done only when it was done: one the service failed
// on is listed under the failures alone, and a failure never spills over to
// the entry after it. When the request itself fails after the service began,
// the entries it did not report on are listed as failed.
#include "engine/SystemItemData.h"
#include "engine/SystemItemsApplicationState.h"

#include <QList>
#include <QStringList>

class SystemItemsBatchApplicationState : public SystemItemsApplicationState {
public:
    // The records of the entries done and failed by the current request, and
    // the end notification's user info {"items": done, "failedItems": failed}.
    QVariantList doneItems() const { return m_doneItems; }
    QVariantList failedItems() const { return m_failedItems; }
    QVariantMap didEndInfo() const;

    void executeState() override;

protected:
    struct Operation {
        QString verb; // for the log: "creating", "deleting"
        QString startNotification;
        QString endNotification;
    };
    SystemItemsBatchApplicationState(QString name, Operation operation);

    // The entries of the current run.
    QList<SystemItemData> batchItems() const;
    virtual void sendBatchRequest(KeelhouseInterface& proxy, const QVariantList& records) = 0;

    void didBegin();
    void didBeginItem(const QVariantMap& item);
    void didFailItem(const QVariantMap& item);
    void didEndItem(const QVariantMap& item);
    void didEnd();
    void requestDidFail(const Error& error) override;

private:
    const Operation m_operation;
    QVariantList m_requestRecords;
    QVariantList m_doneItems;
    QVariantList m_failedItems;
    bool m_didBegin = false;
    bool m_currentItemFailed = false;
};
