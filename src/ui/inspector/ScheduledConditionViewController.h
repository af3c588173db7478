#pragma once
// The editor of a scheduled condition: one row per schedule entry, stacked
// by the entries' sort indexes. New rows fade in, removed rows fade out, and
// after a short delay the rows slide to the places of their current sort
// indexes; the editor's row height in the conditions table follows the
// number of rows. A schedule without entries (an edited file) offers a
// button that adds one.
#include "model/MHKVONotificationHelper.h"
#include "ui/inspector/ScheduleDataItemViewControllerDelegate.h"
#include "ui/inspector/StartupConditionViewControllerBase.h"

#include <QTimer>
#include <map>
#include <memory>

class QLabel;
class QPushButton;

class ScheduledConditionViewController : public StartupConditionViewControllerBase, public ScheduleDataItemViewControllerDelegate {
    Q_OBJECT
public:
    // Every row is this high, and a row's top lies this much times its sort
    // index below the top of the rows.
    static constexpr int scheduleRowHeight = 28;

    ScheduledConditionViewController();
    ~ScheduledConditionViewController() override;

    // The rows of the current entries (not those fading out), by sort index.
    QList<ScheduleDataItemViewController*> scheduleItemViewControllers() const;
    ScheduleDataItemViewController* scheduleItemViewControllerForItem(const DBScheduledConditionDataItem* item) const;
    QLabel* explanationView() const { return m_explanationView; }
    QWidget* schedulesContainerView() const { return m_schedulesContainerView; }
    QPushButton* addScheduleItemButton() const { return m_addScheduleItemButton; }
    bool hasPendingLayout() const { return m_layoutTimer.isActive(); }

    void scheduleDataItemViewControllerInsertItemAfter(ScheduleDataItemViewController& row, DBScheduledConditionDataItem* item) override;
    void scheduleDataItemViewControllerDeleteItem(ScheduleDataItemViewController& row, DBScheduledConditionDataItem* item) override;

protected:
    void awakeFromNib() override;
    void representedObjectChangedFrom(const QVariant& previous, const QVariant& current) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setupScheduleDataItemViewControllers();
    void scheduleItemsDidChange();
    void addScheduleDataItemViewControllerForItem(DBScheduledConditionDataItem* item);
    void deleteScheduleDataItemViewControllerRepresenting(DBScheduledConditionDataItem* item);
    void updateScheduleContainerViewLayoutConstraintsAnimated(bool animated);
    void updateCanDeleteScheduleItemStatus();
    void removeAllRows();
    // After item, or at the end when it is none of the condition's entries.
    void insertScheduleItemAfter(DBScheduledConditionDataItem* item);
    void fadeRow(ScheduleDataItemViewController& row, bool in);
    QList<DBScheduledConditionDataItem*> currentScheduleItems() const;

    struct Row {
        ScheduleDataItemViewController* viewController;
        // Where the row is placed, or is sliding to.
        int top;
    };

    std::map<DBScheduledConditionDataItem*, Row> m_scheduleItemViewControllersByItems;
    QLabel* m_explanationView = nullptr;
    QWidget* m_schedulesContainerView = nullptr;
    QPushButton* m_addScheduleItemButton = nullptr;
    QTimer m_layoutTimer;
    std::unique_ptr<MHKVONotificationHelper> m_scheduleItemsObservation;
};
