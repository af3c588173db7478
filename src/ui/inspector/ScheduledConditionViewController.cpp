#include "ui/inspector/ScheduledConditionViewController.h"

#include "foundation/Log.h"
#include "foundation/UserDefaults.h"
#include "model/DBScheduledConditionDataItem.h"
#include "model/DBStartupCondition.h"
#include "shell/ApplicationHelpers.h"
#include "shell/ModelEditing.h"
#include "ui/inspector/RepresentedObject.h"
#include "ui/inspector/ScheduleDataItemViewController.h"
#include "ui/views/ChoicePopUpButton.h"

#include <QEvent>
#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kAnimationMilliseconds = 200;

int topForItem(const DBScheduledConditionDataItem& item)
{
    return item.scheduleSortIndexValue() * ScheduledConditionViewController::scheduleRowHeight;
}

} // namespace

ScheduledConditionViewController::ScheduledConditionViewController()
    : StartupConditionViewControllerBase(true)
{
    setObjectName(QStringLiteral("scheduledConditionView"));
    m_layoutTimer.setSingleShot(true);
    connect(&m_layoutTimer, &QTimer::timeout, this, [this] { updateScheduleContainerViewLayoutConstraintsAnimated(true); });
}

ScheduledConditionViewController::~ScheduledConditionViewController() = default;

void ScheduledConditionViewController::awakeFromNib()
{
    StartupConditionViewControllerBase::awakeFromNib();
    const float delay = helpers()->userDefaults().scheduleDataEditorViewScheduleItemsLayoutDelay();
    m_layoutTimer.setInterval(static_cast<int>(std::lround(std::isfinite(delay) ? std::max(0.0f, delay) * 1000 : 0)));

    m_explanationView = new QLabel(tr("Allowed on these days and times:"), this);
    m_explanationView->setObjectName(QStringLiteral("explanationView"));
    m_explanationView->setTextFormat(Qt::PlainText);
    m_explanationView->setContentsMargins(28, 0, 6, 2);
    m_schedulesContainerView = new QWidget(this);
    m_schedulesContainerView->setObjectName(QStringLiteral("schedulesContainerView"));
    m_schedulesContainerView->setContentsMargins(28, 0, 6, 0);
    m_schedulesContainerView->installEventFilter(this);
    m_addScheduleItemButton = new QPushButton(tr("Add a Time"), this);
    m_addScheduleItemButton->setObjectName(QStringLiteral("addScheduleItemButton"));
    m_addScheduleItemButton->setAccessibleName(tr("Add a time to the schedule"));
    m_addScheduleItemButton->hide();
    connect(m_addScheduleItemButton, &QPushButton::clicked, this, [this] { insertScheduleItemAfter(nullptr); });
    contentLayout()->addWidget(m_explanationView);
    contentLayout()->addWidget(m_schedulesContainerView);
    contentLayout()->addWidget(m_addScheduleItemButton, 0, Qt::AlignLeft);
    // A condition given before the view existed.
    representedObjectChangedFrom(QVariant(), representedObject());
}

void ScheduledConditionViewController::representedObjectChangedFrom(const QVariant& previous, const QVariant&)
{
    if (!m_schedulesContainerView)
        return;
    if (previous.isValid()) {
        removeAllRows();
        m_scheduleItemsObservation.reset();
    }
    DBStartupCondition* shown = condition();
    if (!shown)
        return;
    setupScheduleDataItemViewControllers();
    updateCanDeleteScheduleItemStatus();
    updateScheduleContainerViewLayoutConstraintsAnimated(false);
    // Also brings in undo and redo.
    m_scheduleItemsObservation = shown->addObserver(QStringLiteral("conditionScheduledData.scheduleItems"),
                                                    [this](ManagedObject*, const KeyValueChange&) { scheduleItemsDidChange(); });
}

QList<DBScheduledConditionDataItem*> ScheduledConditionViewController::currentScheduleItems() const
{
    const DBStartupCondition* shown = condition();
    return shown ? editing()->sortedScheduleDataItemsForCondition(shown) : QList<DBScheduledConditionDataItem*>();
}

QList<ScheduleDataItemViewController*> ScheduledConditionViewController::scheduleItemViewControllers() const
{
    QList<ScheduleDataItemViewController*> rows;
    for (const DBScheduledConditionDataItem* item : currentScheduleItems())
        if (ScheduleDataItemViewController* row = scheduleItemViewControllerForItem(item))
            rows.append(row);
    return rows;
}

ScheduleDataItemViewController* ScheduledConditionViewController::scheduleItemViewControllerForItem(const DBScheduledConditionDataItem* item) const
{
    const auto found = m_scheduleItemViewControllersByItems.find(const_cast<DBScheduledConditionDataItem*>(item));
    return found == m_scheduleItemViewControllersByItems.end() ? nullptr : found->second.viewController;
}

void ScheduledConditionViewController::setupScheduleDataItemViewControllers()
{
    removeAllRows();
    for (DBScheduledConditionDataItem* item : currentScheduleItems())
        addScheduleDataItemViewControllerForItem(item);
}

void ScheduledConditionViewController::removeAllRows()
{
    m_scheduleItemViewControllersByItems.clear();
    // Rows still fading out go too.
    qDeleteAll(m_schedulesContainerView->findChildren<ScheduleDataItemViewController*>(Qt::FindDirectChildrenOnly));
}

void ScheduledConditionViewController::scheduleItemsDidChange()
{
    const QList<DBScheduledConditionDataItem*> items = currentScheduleItems();
    QList<DBScheduledConditionDataItem*> gone;
    for (const auto& [item, row] : m_scheduleItemViewControllersByItems)
        if (!items.contains(item))
            gone.append(item);
    for (DBScheduledConditionDataItem* item : std::as_const(gone))
        deleteScheduleDataItemViewControllerRepresenting(item);
    for (DBScheduledConditionDataItem* item : items)
        if (!scheduleItemViewControllerForItem(item))
            addScheduleDataItemViewControllerForItem(item);
    updateCanDeleteScheduleItemStatus();
    m_layoutTimer.start();
}

void ScheduledConditionViewController::addScheduleDataItemViewControllerForItem(DBScheduledConditionDataItem* item)
{
    LOG_DEBUG("Adding a schedule row for %1...", item);
    auto* row = new ScheduleDataItemViewController();
    row->setParent(m_schedulesContainerView);
    copyCommonObjectsToViewController(*row);
    row->setDelegate(this);
    row->loadView();
    row->setRepresentedObject(RepresentedObject::fromObject(item));
    const int top = topForItem(*item);
    const QRect area = m_schedulesContainerView->contentsRect();
    row->setGeometry(area.left(), top, area.width(), scheduleRowHeight);
    m_scheduleItemViewControllersByItems[item] = { row, top };
    row->show();
    fadeRow(*row, true);
}

void ScheduledConditionViewController::deleteScheduleDataItemViewControllerRepresenting(DBScheduledConditionDataItem* item)
{
    const auto found = m_scheduleItemViewControllersByItems.find(item);
    if (found == m_scheduleItemViewControllersByItems.end())
        return;
    LOG_DEBUG("Removing the schedule row of %1...", item);
    ScheduleDataItemViewController* row = found->second.viewController;
    m_scheduleItemViewControllersByItems.erase(found);
    // The row no longer answers for its entry, which may be gone.
    row->setRepresentedObject(QVariant());
    row->setEnabled(false);
    fadeRow(*row, false);
}

void ScheduledConditionViewController::fadeRow(ScheduleDataItemViewController& row, bool in)
{
    auto* effect = new QGraphicsOpacityEffect(&row);
    effect->setOpacity(in ? 0 : 1);
    row.setGraphicsEffect(effect);
    auto* fade = new QPropertyAnimation(effect, "opacity", &row);
    fade->setDuration(kAnimationMilliseconds);
    fade->setEndValue(in ? 1.0 : 0.0);
    ScheduleDataItemViewController* faded = &row;
    connect(fade, &QPropertyAnimation::finished, faded, [faded, in] {
        if (in)
            faded->setGraphicsEffect(nullptr);
        else
            faded->deleteLater();
    });
    fade->start(QAbstractAnimation::DeleteWhenStopped);
}

void ScheduledConditionViewController::updateScheduleContainerViewLayoutConstraintsAnimated(bool animated)
{
    int total = 0;
    const int left = m_schedulesContainerView->contentsRect().left();
    for (auto& [item, row] : m_scheduleItemViewControllersByItems) {
        const int desired = topForItem(*item);
        total += scheduleRowHeight + 1;
        if (row.top == desired)
            continue;
        row.top = desired;
        if (animated) {
            auto* slide = new QPropertyAnimation(row.viewController, "pos", row.viewController);
            slide->setDuration(kAnimationMilliseconds);
            slide->setEndValue(QPoint(left, desired));
            slide->start(QAbstractAnimation::DeleteWhenStopped);
        } else {
            row.viewController->move(left, desired);
        }
    }
    const bool empty = m_scheduleItemViewControllersByItems.empty();
    m_addScheduleItemButton->setVisible(empty);
    m_schedulesContainerView->setFixedHeight(static_cast<int>(m_scheduleItemViewControllersByItems.size()) * scheduleRowHeight);
    const int header = nameEditorPlaceholderView()->sizeHint().height() + m_explanationView->sizeHint().height()
                     + (empty ? m_addScheduleItemButton->sizeHint().height() : 0);
    setRequiredRowHeight(header + total + 1);
}

void ScheduledConditionViewController::updateCanDeleteScheduleItemStatus()
{
    // The last entry of a schedule stays.
    const bool canDelete = m_scheduleItemViewControllersByItems.size() > 1;
    for (auto& [item, row] : m_scheduleItemViewControllersByItems)
        row.viewController->setShowDeleteButton(canDelete);
}

bool ScheduledConditionViewController::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_schedulesContainerView && event->type() == QEvent::Resize) {
        const QRect area = m_schedulesContainerView->contentsRect();
        for (ScheduleDataItemViewController* row : m_schedulesContainerView->findChildren<ScheduleDataItemViewController*>(Qt::FindDirectChildrenOnly))
            row->setGeometry(area.left(), row->y(), area.width(), scheduleRowHeight);
    }
    return StartupConditionViewControllerBase::eventFilter(watched, event);
}

void ScheduledConditionViewController::insertScheduleItemAfter(DBScheduledConditionDataItem* item)
{
    DBStartupCondition* shown = condition();
    if (!shown)
        return;
    const QList<DBScheduledConditionDataItem*> items = currentScheduleItems();
    const qsizetype position = items.indexOf(item);
    const qsizetype index = position < 0 ? items.size() : position + 1;
    LOG_NORMAL("Adding a schedule item to %1 at index %2...", shown, index);
    DBScheduledConditionDataItem* added = editing()->createScheduledConditionDataItemForCondition(shown, index);
    if (!added)
        return;
    helpers()->saveDataToDiskUsingChangeBackup(true);
    // The keyboard goes to the new time, which the table then keeps in view.
    if (const auto row = m_scheduleItemViewControllersByItems.find(added); row != m_scheduleItemViewControllersByItems.end())
        row->second.viewController->dayButton()->setFocus(Qt::OtherFocusReason);
}

void ScheduledConditionViewController::scheduleDataItemViewControllerInsertItemAfter(ScheduleDataItemViewController&,
                                                                                    DBScheduledConditionDataItem* item)
{
    insertScheduleItemAfter(item);
}

void ScheduledConditionViewController::scheduleDataItemViewControllerDeleteItem(ScheduleDataItemViewController&,
                                                                               DBScheduledConditionDataItem* item)
{
    DBStartupCondition* shown = condition();
    if (!shown || !item)
        return;
    LOG_NORMAL("Removing %1 from %2...", item, shown);
    editing()->deleteScheduledConditionDataItem(item, shown);
    helpers()->saveDataToDiskUsingChangeBackup(true);
}
