#pragma once
// Creating, moving and deleting the objects of the ordered lists of the item
// database: login items within their group (itemSortIndex), startup conditions
// across the database (conditionSortIndex) and the entries of one schedule
// (scheduleSortIndex).
//
// Every list is kept numbered 0, 1, 2 ... without gaps or duplicates: after
// each operation the whole list is renumbered in its new order, so a list that
// was loaded with gaps comes out dense too, and positions outside the list are
// clamped to its ends. Each operation is one undo step named for the user; a
// caller that groups several operations under a name of its own keeps it (the
// first name given to a group stays). Nothing here saves.
//
// Main thread only, on the one object context given at construction.
#include "engine/ModelObjectHelping.h"

#include <QList>
#include <QString>
#include <QTime>
#include <QVariantList>
#include <functional>

class DBConditionalPreviousItem;
class DBDelayItem;
class DBFileItem;
class DBLoginGroup;
class DBLoginItem;
class DBStartupCondition;
class DBScheduledConditionDataItem;
class Localizator;
class ManagedObject;
class ObjectContext;

class ModelEditing : public ModelObjectHelping {
public:
    // Both must outlive this object.
    ModelEditing(ObjectContext& context, const Localizator& localizator);

    QList<DBLoginItem*> sortedLoginItemsForApplicationGroup() override;
    QList<DBLoginItem*> sortedLoginItemsForGroup(const DBLoginGroup* group) override;
    LoginItemType typeOfLoginItem(const DBLoginItem* item) const override;

    // Items are inserted in data order at index, which is clamped to 0..count.
    // File data: file URLs (QUrl) or paths (QString); other elements are
    // logged and skipped. Delay data: seconds. The other two kinds make one
    // item per element and do not read it.
    QList<DBLoginItem*> createFileItemsFromData(const QVariantList& data, DBLoginGroup* group, qsizetype index);
    QList<DBLoginItem*> createDelayItemsFromData(const QVariantList& data, DBLoginGroup* group, qsizetype index);
    QList<DBLoginItem*> createWaitPreviousItemsFromData(const QVariantList& data, DBLoginGroup* group, qsizetype index);
    QList<DBLoginItem*> createConditionalPreviousItemsFromData(const QVariantList& data, DBLoginGroup* group, qsizetype index);
    void deleteLoginItems(const QList<DBLoginItem*>& items, DBLoginGroup* group);
    // index counts among the items that stay where they are (a drop row in the
    // full list less the moved rows above it). Between groups only file items
    // move; the others stay in fromGroup.
    void moveLoginItems(const QList<DBLoginItem*>& items, DBLoginGroup* fromGroup, DBLoginGroup* toGroup, qsizetype index);
    DBLoginItem* loginItemImmediatelyBeforeItem(const DBLoginItem* item) const;
    DBLoginItem* loginItemImmediatelyAfterItem(const DBLoginItem* item) const;

    QList<DBStartupCondition*> sortedStartupConditions() const;
    DBStartupCondition* createScheduledStartupConditionAtIndex(qsizetype index);
    // With the first of Control, Option, Shift no hotkey condition uses yet,
    // else Command.
    DBStartupCondition* createHotkeyStartupConditionAtIndex(qsizetype index);
    // Power supply unless a power-source condition uses it, else battery.
    DBStartupCondition* createPowerSourceStartupConditionAtIndex(qsizetype index);
    DBStartupCondition* createMountedVolumeStartupConditionAtIndex(qsizetype index);
    DBStartupCondition* createNetworkStartupConditionAtIndex(qsizetype index);
    // index counts among the conditions that stay, as for items.
    void moveStartupConditions(const QList<DBStartupCondition*>& conditions, qsizetype index);
    void deleteStartupConditions(const QList<DBStartupCondition*>& conditions);

    QList<DBScheduledConditionDataItem*> sortedScheduleDataItemsForCondition(const DBStartupCondition* condition) const;
    // Null (and logged) for a condition without a schedule.
    DBScheduledConditionDataItem* createScheduledConditionDataItemForCondition(DBStartupCondition* condition, qsizetype index);
    void deleteScheduledConditionDataItem(DBScheduledConditionDataItem* item, DBStartupCondition* condition);

    // Single values the item inspector edits. Each change is one named undo
    // step; a value the object already has, an object that is not live, or a
    // value outside its range changes nothing and answers false.
    bool setFileItemStartupMode(DBFileItem* item, int32_t mode);
    bool setStartupConditionUsedByLoginItem(DBStartupCondition* condition, DBLoginItem* item, bool used);
    bool renameStartupCondition(DBStartupCondition* condition, const QString& name);
    // Finite and not negative.
    bool setDelayItemDelay(DBDelayItem* item, double delay);
    bool setConditionalPreviousItemMode(DBConditionalPreviousItem* item, int32_t mode);

    // The settings of the five kinds of condition, each a named undo step on
    // the same terms. Enumerated values outside their enumeration are refused.
    bool setHotkeyCombination(DBStartupCondition* condition, int32_t combination);
    bool setHotkeyStatus(DBStartupCondition* condition, int32_t status);
    bool setPowerSourceType(DBStartupCondition* condition, int32_t type);
    bool setScheduleDay(DBScheduledConditionDataItem* item, int32_t day);
    // Only hour and minute are stored; the entry keeps its date.
    bool setScheduleFromTime(DBScheduledConditionDataItem* item, const QTime& time);
    bool setScheduleToTime(DBScheduledConditionDataItem* item, const QTime& time);
    bool setVolumePath(DBStartupCondition* condition, const QString& path);
    bool setVolumeStatus(DBStartupCondition* condition, int32_t status);
    // A null name stands for the internet connection, which is never joined:
    // a "connected" status becomes "available" in the same step.
    bool setNetworkName(DBStartupCondition* condition, const QString& name);
    bool setNetworkMode(DBStartupCondition* condition, int32_t mode);
    bool setNetworkStatus(DBStartupCondition* condition, int32_t status);

    // Told of every path or name refused because the database file cannot
    // hold it (control characters and the like), so that the user learns why.
    void setRefusedTextHandler(std::function<void(const QString& text)> handler) { m_refusedTextHandler = std::move(handler); }

private:
    using ItemMaker = std::function<DBLoginItem*(const QVariant& element)>;

    // False (logged and handed to the handler) for text the file cannot hold.
    bool acceptsText(const QString& text) const;
    using ItemsActionName = QString (Localizator::*)(const QList<DBLoginItem*>&) const;

    QList<DBLoginItem*> createLoginItemsFromData(const QVariantList& data, DBLoginGroup* group, qsizetype index,
                                                 ItemsActionName actionName, const ItemMaker& block);
    DBStartupCondition* createStartupConditionAtIndex(qsizetype index, const QString& actionName,
                                                      const std::function<DBStartupCondition*()>& block);
    bool isLiveObject(const ManagedObject* object) const;
    // Sets key to value as one step named by actionName() (asked after the change).
    bool changeValue(ManagedObject* object, const QString& key, const QVariant& value, const std::function<QString()>& actionName);
    // The same for an enumerated value, refused outside first..last.
    bool changeEnumeration(ManagedObject* object, const QString& key, int32_t value, int32_t first, int32_t last,
                           const std::function<QString()>& actionName);
    bool changeScheduleTime(DBScheduledConditionDataItem* item, const QString& key, const QTime& time,
                            const std::function<QString()>& actionName);

    ObjectContext& m_context;
    const Localizator& m_localizator;
    std::function<void(const QString& text)> m_refusedTextHandler;
};
