#include "ui/inspector/ScheduleDataItemViewController.h"

#include "foundation/Log.h"
#include "model/DBScheduledConditionDataItem.h"
#include "shell/ApplicationHelpers.h"
#include "shell/ModelEditing.h"
#include "ui/inspector/RepresentedObject.h"
#include "ui/inspector/ScheduleDataItemViewControllerDelegate.h"
#include "ui/views/ChoicePopUpButton.h"
#include "ui/views/CommittedUndoFilter.h"
#include "ui/views/TimeField.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

ScheduleDataItemViewController::ScheduleDataItemViewController()
    : ViewControllerBase(true)
{
    setObjectName(QStringLiteral("scheduleDataItemView"));
}

ScheduleDataItemViewController::~ScheduleDataItemViewController() = default;

void ScheduleDataItemViewController::awakeFromNib()
{
    m_dayButton = new ChoicePopUpButton(QStringLiteral("dayButton"), tr("Day"), this);
    const QStringList days { tr("Monday"), tr("Tuesday"), tr("Wednesday"), tr("Thursday"), tr("Friday"),
                             tr("Saturday"), tr("Sunday"), tr("Week days"), tr("Weekend"), tr("Every day") };
    for (int32_t day = ScheduleDayMonday; day <= ScheduleDayEveryDay; ++day)
        m_dayButton->addChoice(days[day], day);
    // A stored day of no known kind matches no day.
    m_dayButton->setPlaceholderText(tr("Unknown"));
    m_fromTimePicker = makeTimePicker(QStringLiteral("fromTimePicker"), tr("From"));
    m_dashTextField = new QLabel(QStringLiteral("–"), this);
    m_dashTextField->setObjectName(QStringLiteral("dashTextField"));
    m_toTimePicker = makeTimePicker(QStringLiteral("toTimePicker"), tr("To"));
    m_insertButton = makeButton(QStringLiteral("insertButton"), QStringLiteral("+"), tr("Add a time after this one"));
    m_deleteButton = makeButton(QStringLiteral("deleteButton"), QStringLiteral("−"), tr("Remove this time"));

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    for (QWidget* control : std::initializer_list<QWidget*> { m_dayButton, m_fromTimePicker, m_dashTextField, m_toTimePicker,
                                                              m_insertButton, m_deleteButton })
        layout->addWidget(control);
    layout->addStretch(1);
    m_deleteButton->setVisible(m_showDeleteButton);

    connect(m_dayButton, &ChoicePopUpButton::valueChosen, this, &ScheduleDataItemViewController::scheduleDayChanged);
    connect(m_fromTimePicker, &QTimeEdit::timeChanged, this, &ScheduleDataItemViewController::scheduleFromTimeChanged);
    connect(m_toTimePicker, &QTimeEdit::timeChanged, this, &ScheduleDataItemViewController::scheduleToTimeChanged);
    connect(m_insertButton, &QToolButton::clicked, this, &ScheduleDataItemViewController::insertScheduleItem);
    connect(m_deleteButton, &QToolButton::clicked, this, &ScheduleDataItemViewController::deleteScheduleItem);
    updateShownValues();
}

QTimeEdit* ScheduleDataItemViewController::makeTimePicker(const QString& objectName, const QString& accessibleName)
{
    auto* picker = new TimeField(objectName, accessibleName, this);
    // Arrows, the wheel and Return commit at once; typing commits when the
    // field is left.
    picker->setKeyboardTracking(false);
    CommittedUndoFilter::guard(picker);
    return picker;
}

QToolButton* ScheduleDataItemViewController::makeButton(const QString& objectName, const QString& title, const QString& accessibleName)
{
    auto* button = new QToolButton(this);
    button->setObjectName(objectName);
    button->setText(title);
    button->setAccessibleName(accessibleName);
    button->setToolTip(accessibleName);
    button->setFocusPolicy(Qt::StrongFocus);
    button->setAutoRaise(true);
    return button;
}

DBScheduledConditionDataItem* ScheduleDataItemViewController::scheduleItem() const
{
    return RepresentedObject::liveObjectAs<DBScheduledConditionDataItem>(representedObject());
}

void ScheduleDataItemViewController::representedObjectChangedFrom(const QVariant&, const QVariant&)
{
    m_observations.clear();
    if (DBScheduledConditionDataItem* item = scheduleItem())
        for (const QString& key : { QStringLiteral("scheduleDay"), QStringLiteral("scheduleFromTime"), QStringLiteral("scheduleToTime") })
            m_observations.push_back(item->addObserver(key, [this](ManagedObject*, const KeyValueChange&) { updateShownValues(); }));
    updateShownValues();
}

void ScheduleDataItemViewController::updateShownValues()
{
    if (!m_dayButton)
        return;
    const DBScheduledConditionDataItem* item = scheduleItem();
    if (!item)
        return;
    const int32_t day = item->scheduleDayValue();
    if (day < ScheduleDayMonday || day > ScheduleDayEveryDay)
        LOG_WARN("Unknown schedule day %1 of %2, it matches no day!", day, item);
    m_dayButton->showValue(day);
    const auto showTime = [](QTimeEdit* picker, const QDateTime& date) {
        const QSignalBlocker blocker(picker);
        picker->setTime(date.isValid() ? date.toLocalTime().time() : QTime(0, 0));
    };
    showTime(m_fromTimePicker, item->scheduleFromTime());
    showTime(m_toTimePicker, item->scheduleToTime());
}

void ScheduleDataItemViewController::setShowDeleteButton(bool show)
{
    m_showDeleteButton = show;
    if (m_deleteButton)
        m_deleteButton->setVisible(show);
}

void ScheduleDataItemViewController::scheduleDayChanged(const QVariant& value)
{
    DBScheduledConditionDataItem* item = scheduleItem();
    if (!item)
        return;
    LOG_NORMAL("Changing the day of %1 to %2...", item, value.toInt());
    if (editing()->setScheduleDay(item, value.toInt()))
        helpers()->saveDataToDiskUsingChangeBackup(true);
}

void ScheduleDataItemViewController::scheduleFromTimeChanged()
{
    DBScheduledConditionDataItem* item = scheduleItem();
    if (!item)
        return;
    if (editing()->setScheduleFromTime(item, m_fromTimePicker->time())) {
        LOG_NORMAL("Changed the from time of %1", item);
        helpers()->saveDataToDiskUsingChangeBackup(true);
    }
}

void ScheduleDataItemViewController::scheduleToTimeChanged()
{
    DBScheduledConditionDataItem* item = scheduleItem();
    if (!item)
        return;
    if (editing()->setScheduleToTime(item, m_toTimePicker->time())) {
        LOG_NORMAL("Changed the to time of %1", item);
        helpers()->saveDataToDiskUsingChangeBackup(true);
    }
}

void ScheduleDataItemViewController::insertScheduleItem()
{
    if (m_delegate)
        m_delegate->scheduleDataItemViewControllerInsertItemAfter(*this, scheduleItem());
}

void ScheduleDataItemViewController::deleteScheduleItem()
{
    if (!m_delegate)
        return;
    // A second click while the row fades out must not delete again.
    m_deleteButton->setEnabled(false);
    m_delegate->scheduleDataItemViewControllerDeleteItem(*this, scheduleItem());
}
