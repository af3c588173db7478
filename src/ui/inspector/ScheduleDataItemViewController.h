#pragma once
// One row of a schedule editor: the day (one of the ten ScheduleDay
// choices), the from and to times, and the buttons that insert an entry
// after this one or delete this one. The represented object is the schedule
// entry; the row follows its values, undo and redo included.
//
// A time is written when the user commits it (Enter, or leaving the field),
// so stepping through minutes makes one undo step, not one per step. Once
// a time is stored, Ctrl+Z undoes the model, not the field's typing.
#include "model/MHKVONotificationHelper.h"
#include "ui/base/ViewControllerBase.h"

#include <memory>
#include <vector>

class ChoicePopUpButton;
class DBScheduledConditionDataItem;
class QLabel;
class QTimeEdit;
class QToolButton;
class ScheduleDataItemViewControllerDelegate;

class ScheduleDataItemViewController : public ViewControllerBase {
    Q_OBJECT
public:
    ScheduleDataItemViewController();
    ~ScheduleDataItemViewController() override;

    void setDelegate(ScheduleDataItemViewControllerDelegate* delegate) { m_delegate = delegate; }
    // Null when none is represented or it was deleted.
    DBScheduledConditionDataItem* scheduleItem() const;

    bool showDeleteButton() const { return m_showDeleteButton; }
    void setShowDeleteButton(bool show);

    ChoicePopUpButton* dayButton() const { return m_dayButton; }
    QTimeEdit* fromTimePicker() const { return m_fromTimePicker; }
    QTimeEdit* toTimePicker() const { return m_toTimePicker; }
    QToolButton* insertButton() const { return m_insertButton; }
    QToolButton* deleteButton() const { return m_deleteButton; }

public Q_SLOTS:
    void insertScheduleItem();
    void deleteScheduleItem();

protected:
    void awakeFromNib() override;
    void representedObjectChangedFrom(const QVariant& previous, const QVariant& current) override;

private:
    void scheduleDayChanged(const QVariant& value);
    void scheduleFromTimeChanged();
    void scheduleToTimeChanged();
    void updateShownValues();
    QTimeEdit* makeTimePicker(const QString& objectName, const QString& accessibleName);
    QToolButton* makeButton(const QString& objectName, const QString& title, const QString& accessibleName);

    ScheduleDataItemViewControllerDelegate* m_delegate = nullptr;
    bool m_showDeleteButton = true;
    ChoicePopUpButton* m_dayButton = nullptr;
    QTimeEdit* m_fromTimePicker = nullptr;
    QLabel* m_dashTextField = nullptr;
    QTimeEdit* m_toTimePicker = nullptr;
    QToolButton* m_insertButton = nullptr;
    QToolButton* m_deleteButton = nullptr;
    std::vector<std::unique_ptr<MHKVONotificationHelper>> m_observations;
};
