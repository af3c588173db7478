#pragma once
// What a schedule row asks of the schedule editor that holds it.
class DBScheduledConditionDataItem;
class ScheduleDataItemViewController;

class ScheduleDataItemViewControllerDelegate {
public:
    // Adds an entry right after item.
    virtual void scheduleDataItemViewControllerInsertItemAfter(ScheduleDataItemViewController& row, DBScheduledConditionDataItem* item) = 0;
    virtual void scheduleDataItemViewControllerDeleteItem(ScheduleDataItemViewController& row, DBScheduledConditionDataItem* item) = 0;

protected:
    ~ScheduleDataItemViewControllerDelegate() = default;
};
