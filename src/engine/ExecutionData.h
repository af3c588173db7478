#pragma once
// The working record of one run of the items: made when the run starts and
// dropped when it ends, so nothing of it reaches a later run.
//
// The run's queue works with copies of what it needs of each item, taken on
// the main thread. It judges the items in a copy of the database of its own
// (the snapshot) for as long as the database has not changed since; after a
// change it finds each item again in the live database by its object ID,
// judged on the main thread, where the model lives.
#include "model/ModelEnumerations.h"
#include "model/ObjectID.h"
#include "platform/Workspace.h"

#include <QHash>
#include <QList>
#include <QString>
#include <memory>
#include <optional>

class DBLoginItem;
class ExecutionValidationParameters;
class ObjectContext;
class RunJournal;

class ExecutionData {
public:
    struct Item {
        ObjectID objectID;
        LoginItemType type = LoginItemTypeFile;
        QString displayName;
        // File items only.
        QString path;
        int32_t startupMode = ItemStartupModeShown;
        bool isMissing = false;
        // Delay items only.
        double delay = 0;
        // Its place in the list, by which a later start in the same login knows it.
        qint32 sortIndex = 0;

        QString logDescription() const { return displayName; }
    };

    explicit ExecutionData(std::shared_ptr<ExecutionValidationParameters> parameters);
    ~ExecutionData();
    ExecutionData(const ExecutionData&) = delete;
    ExecutionData& operator=(const ExecutionData&) = delete;

    // The run's snapshot, sampled again before each item.
    ExecutionValidationParameters& executionParameters() const { return *m_executionParameters; }

    // The snapshot's available items, by which the run finds them again.
    const QList<ObjectID>& availableItemIDs() const { return m_availableItemIDs; }
    void setAvailableItemIDs(QList<ObjectID> ids) { m_availableItemIDs = std::move(ids); }
    // The object context's membership count when the snapshot's list was last
    // made of the live ones among them; nothing before the first time.
    std::optional<quint64> availableItemsMembership() const { return m_availableItemsMembership; }
    void setAvailableItemsMembership(quint64 count) { m_availableItemsMembership = count; }

    // The run's copy of the database with, for each of availableItemIDs(),
    // its copy, and the live database's change count when it was taken.
    void setSnapshot(std::unique_ptr<ObjectContext> copy, const QList<DBLoginItem*>& items, quint64 changeCount);
    bool hasSnapshot() const { return m_snapshot != nullptr; }
    // Whether the snapshot still holds what the live database does, at its
    // change count now.
    bool isSnapshotCurrent(quint64 liveChangeCount) const { return m_snapshot && m_snapshotChangeCount == liveChangeCount; }
    // The copy of the live item id; null when there is none.
    DBLoginItem* snapshotItem(const ObjectID& id) const { return m_snapshotItems.value(id); }
    // The live item's ID for a copy of the snapshot, else item's own.
    ObjectID liveIDOfItem(const DBLoginItem* item) const;

    // Whether a condition of the list names a network: then the run waits,
    // bounded, for the first network scan at login before it judges.
    bool looksForNetworksByName() const { return m_looksForNetworksByName; }
    void setLooksForNetworksByName(bool looks) { m_looksForNetworksByName = looks; }

    // The items that passed the check at the start, in sort order. Set once,
    // before the loop.
    const QList<Item>& itemsToBeExecuted() const { return m_itemsToBeExecuted; }
    void setItemsToBeExecuted(QList<Item> items) { m_itemsToBeExecuted = std::move(items); }

    // Every file item an opening was tried for, also those already running,
    // skipped by the debug options or failed.
    const QList<Item>& launchedFileItems() const { return m_launchedFileItems; }
    void addLaunchedFileItem(const Item& item) { m_launchedFileItems.append(item); }
    const QList<Item>& failedItems() const { return m_failedItems; }
    void addFailedItem(const Item& item) { m_failedItems.append(item); }

    // What runs, kept for the run and looked at again before each step; null
    // without a workspace.
    Workspace::RunningItems* runningItems() const { return m_runningItems.get(); }
    void setRunningItems(std::unique_ptr<Workspace::RunningItems> running) { m_runningItems = std::move(running); }

    // Where the run records the items it starts; null where nothing is kept.
    RunJournal* runJournal() const { return m_runJournal; }
    void setRunJournal(RunJournal* journal) { m_runJournal = journal; }
    // The run after a start of the program, which ends its login's run.
    bool isLaunchRun() const { return m_isLaunchRun; }
    void setIsLaunchRun(bool value) { m_isLaunchRun = value; }

    // The item before the current one among the snapshot's available items.
    const std::optional<Item>& previousAvailableItem() const { return m_previousAvailableItem; }
    void setPreviousAvailableItem(std::optional<Item> item) { m_previousAvailableItem = std::move(item); }

private:
    const std::shared_ptr<ExecutionValidationParameters> m_executionParameters;
    QList<ObjectID> m_availableItemIDs;
    std::unique_ptr<ObjectContext> m_snapshot;
    QHash<ObjectID, DBLoginItem*> m_snapshotItems;
    QHash<const DBLoginItem*, ObjectID> m_liveIDs;
    quint64 m_snapshotChangeCount = 0;
    std::optional<quint64> m_availableItemsMembership;
    bool m_looksForNetworksByName = false;
    QList<Item> m_itemsToBeExecuted;
    QList<Item> m_launchedFileItems;
    QList<Item> m_failedItems;
    std::optional<Item> m_previousAvailableItem;
    std::unique_ptr<Workspace::RunningItems> m_runningItems;
    RunJournal* m_runJournal = nullptr;
    bool m_isLaunchRun = false;
};
