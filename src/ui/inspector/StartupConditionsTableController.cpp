#include "ui/inspector/StartupConditionsTableController.h"

#include "foundation/Log.h"
#include "foundation/UserDefaults.h"
#include "model/DBLoginItem.h"
#include "model/DBStartupCondition.h"
#include "model/ObjectContext.h"
#include "shell/ApplicationHelpers.h"
#include "shell/ModelEditing.h"
#include "texts/Localizator.h"
#include "ui/base/CommandNames.h"
#include "ui/inspector/ConditionNameEditorViewController.h"
#include "ui/inspector/NetworkConditionViewController.h"
#include "ui/inspector/RepresentedObject.h"
#include "ui/inspector/StartupConditionRowCommands.h"
#include "ui/inspector/StartupConditionRowDelegate.h"
#include "ui/inspector/StartupConditionRowsModel.h"
#include "ui/inspector/StartupConditionViewControllerBase.h"
#include "ui/inspector/StartupConditionViewControllersFactory.h"
#include "ui/views/ItemInspectorTableView.h"
#include "ui/views/MenuButton.h"
#include "ui/views/StartupConditionCellView.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr int kRowHeightsDelayMilliseconds = 100;
// There are four modifier keys and two power sources.
constexpr int kMaximumHotkeyConditions = 4;
constexpr int kMaximumPowerSourceConditions = 2;

bool isReturn(const QKeyEvent& event)
{
    return event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
}

bool touchesConditions(const QList<ManagedObject*>& objects)
{
    return std::any_of(objects.cbegin(), objects.cend(),
                       [](const ManagedObject* object) { return dynamic_cast<const DBStartupCondition*>(object); });
}

} // namespace

StartupConditionsTableController::StartupConditionsTableController()
{
    m_rowHeightsTimer.setSingleShot(true);
    m_rowHeightsTimer.setInterval(kRowHeightsDelayMilliseconds);
    connect(&m_rowHeightsTimer, &QTimer::timeout, this, &StartupConditionsTableController::noteStartupConditionsTableViewRowHeightsChanged);
    m_pendingMoveTimer.setSingleShot(true);
    connect(&m_pendingMoveTimer, &QTimer::timeout, this, &StartupConditionsTableController::runPendingMove);
}

StartupConditionsTableController::~StartupConditionsTableController()
{
    QObject::disconnect(m_conditionsObservation);
    // The editors outlive the list of them, which the key filter reads.
    for (StartupConditionViewControllerBase* editor : std::as_const(m_conditionViewControllers)) {
        stopObservingStartupConditionViewController(*editor);
        editor->nameEditorViewController().usageView()->removeEventFilter(this);
    }
}

// --- Setting up -------------------------------------------------------------------

void StartupConditionsTableController::loadViews(QWidget& parent)
{
    m_conditionViewControllersFactory = std::make_unique<StartupConditionViewControllersFactory>();
    m_conditionViewControllersFactory->setCommonObjects(commonObjects());
    buildViews(parent);

    updateStartupConditionViewControllers();
    updateConditionAllowedStatuses();
    ObjectContext* context = managedObjectContext();
    m_conditionsObservation = connect(context, &ObjectContext::objectsDidChange, this, [this](const ObjectsChange& change) {
        if (touchesConditions(change.inserted) || touchesConditions(change.deleted) || touchesConditions(change.updated)) {
            updateStartupConditionViewControllers();
            updateConditionAllowedStatuses();
        }
    });
}

void StartupConditionsTableController::buildViews(QWidget& parent)
{
    m_rowsModel = new StartupConditionRowsModel(this);
    m_tableView = new ItemInspectorTableView(&parent);
    QTableView* table = m_tableView;
    table->setObjectName(QStringLiteral("startupConditionsTableView"));
    table->setAccessibleName(tr("Startup conditions"));
    table->setModel(m_rowsModel);
    table->setItemDelegate(new StartupConditionRowDelegate(table));
    table->horizontalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    table->verticalHeader()->hide();
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setFrameShape(QFrame::NoFrame);
    table->setDragEnabled(true);
    table->setAcceptDrops(true);
    table->setDropIndicatorShown(true);
    table->setDragDropMode(QAbstractItemView::DragDrop);
    table->setDragDropOverwriteMode(false);
    table->setDefaultDropAction(Qt::MoveAction);
    m_rowCommands = new StartupConditionRowCommands(*table, *m_rowsModel, *this, [this](const DBStartupCondition* condition) {
        StartupConditionViewControllerBase* editor = conditionViewControllerForCondition(condition);
        return editor ? &editor->nameEditorViewController() : nullptr;
    });
    connect(m_rowCommands, &StartupConditionRowCommands::conditionsChanged, this, [this] {
        updateStartupConditionViewControllers();
        updateConditionAllowedStatuses();
    });
    connect(m_rowsModel, &StartupConditionRowsModel::rowsDropped, this, &StartupConditionsTableController::acceptDrop);
    connect(table->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        updateCellBackgroundStyles();
        validateActions();
    });

    m_editorsShelf = new QWidget(&parent);
    m_editorsShelf->hide();

    m_actionsView = new QWidget(&parent);
    QWidget* actionsView = m_actionsView;
    actionsView->setObjectName(QStringLiteral("startupConditionsActionsView"));
    auto* actionsLayout = new QHBoxLayout(actionsView);
    actionsLayout->setContentsMargins(8, 4, 8, 4);
    const auto makeAction = [this](const QString& command, const QString& title) {
        auto* action = new QAction(title, this);
        action->setObjectName(command);
        action->setData(command);
        connect(action, &QAction::triggered, this, [this, command, action] {
            if (validateCommand(command, *action))
                performCommand(command);
        });
        m_actions.insert(command, action);
        return action;
    };
    auto* createMenu = new QMenu(actionsView);
    createMenu->setObjectName(QStringLiteral("createStartupConditionMenu"));
    createMenu->addAction(makeAction(CommandNames::createScheduledStartupCondition, tr("Scheduled Condition")));
    createMenu->addAction(makeAction(CommandNames::createHotkeyStartupCondition, tr("Hotkey Condition")));
    createMenu->addAction(makeAction(CommandNames::createPowerSourceStartupCondition, tr("Power Source Condition")));
    createMenu->addAction(makeAction(CommandNames::createMountedVolumeStartupCondition, tr("Mounted Volume Condition")));
    createMenu->addAction(makeAction(CommandNames::createNetworkStartupCondition, tr("Network Condition")));
    QToolButton* createButton = new MenuButton(QStringLiteral("createStartupConditionButton"), tr("Add Condition"), createMenu, actionsView);
    actionsLayout->addWidget(createButton);

    QAction* deleteAction = makeAction(CommandNames::deleteCurrentSelection, tr("Delete"));
    // Delete typed in the table is the table's key, not a shortcut: the
    // window behind has its own Delete, which must not fire from here.
    table->installEventFilter(this);
    // The button keeps its short title: the action's, which names the
    // selected conditions, would widen the inspector with every long name.
    auto* deleteButton = new QToolButton(actionsView);
    deleteButton->setObjectName(QStringLiteral("deleteStartupConditionsButton"));
    deleteButton->setText(tr("Delete"));
    connect(deleteButton, &QToolButton::clicked, deleteAction, &QAction::trigger);
    connect(deleteAction, &QAction::changed, deleteButton, [deleteButton, deleteAction] {
        deleteButton->setEnabled(deleteAction->isEnabled());
        deleteButton->setToolTip(deleteAction->text());
    });
    actionsLayout->addWidget(deleteButton);
    auto* unselectButton = new QToolButton(actionsView);
    unselectButton->setObjectName(QStringLiteral("unselectStartupConditionsButton"));
    unselectButton->setDefaultAction(makeAction(CommandNames::unselectStartupConditions, tr("Unselect All")));
    actionsLayout->addWidget(unselectButton);
    actionsLayout->addStretch(1);
    for (QToolButton* button : { createButton, deleteButton, unselectButton })
        button->setAccessibleName(button->text());
}

// --- The shown item -----------------------------------------------------------------

DBLoginItem* StartupConditionsTableController::representedItem() const
{
    return RepresentedObject::liveObjectAs<DBLoginItem>(m_representedObject);
}

void StartupConditionsTableController::setRepresentedObject(const QVariant& item)
{
    m_representedObject = item;
    m_itemConditionsObservation.reset();
    if (DBLoginItem* item = representedItem())
        m_itemConditionsObservation = item->addObserver(QStringLiteral("itemStartupConditions"), [this](ManagedObject*, const KeyValueChange&) {
            if (!m_updatingModelFromView)
                updateUsageStatusForAllStartupConditionViewControllers();
        });
    updateUsageStatusForAllStartupConditionViewControllers();
}

// --- Row editors ----------------------------------------------------------------------

StartupConditionViewControllerBase* StartupConditionsTableController::conditionViewControllerForCondition(const DBStartupCondition* condition) const
{
    const auto found = m_conditionViewControllersByConditions.find(condition);
    return found == m_conditionViewControllersByConditions.end() ? nullptr : found->second.get();
}

void StartupConditionsTableController::updateStartupConditionViewControllers()
{
    if (!m_tableView)
        return;
    LOG_DEBUG("Updating startup condition view controllers...");
    const QList<DBStartupCondition*> conditions = managedObjectContext()->sortedStartupConditions();
    const QList<DBStartupCondition*> selection = selectedStartupConditions();
    for (auto entry = m_conditionViewControllersByConditions.begin(); entry != m_conditionViewControllersByConditions.end();) {
        if (std::find(conditions.cbegin(), conditions.cend(), entry->first) != conditions.cend()) {
            ++entry;
            continue;
        }
        stopObservingStartupConditionViewController(*entry->second);
        m_conditionViewControllers.removeOne(entry->second.get());
        entry = m_conditionViewControllersByConditions.erase(entry);
    }
    // Rows follow the database's order; a condition of no known kind has no row.
    QList<StartupConditionViewControllerBase*> ordered;
    for (DBStartupCondition* condition : conditions) {
        StartupConditionViewControllerBase* editor = conditionViewControllerForCondition(condition);
        if (!editor) {
            std::unique_ptr<StartupConditionViewControllerBase> made = m_conditionViewControllersFactory->viewControllerForStartupCondition(*condition);
            if (!made)
                continue;
            editor = made.get();
            editor->setParent(m_editorsShelf);
            editor->setRepresentedObject(RepresentedObject::fromObject(condition));
            m_conditionViewControllersByConditions.emplace(condition, std::move(made));
            updateUsageStatusForStartupConditionViewController(*editor);
            startObservingStartupConditionViewController(*editor);
            editor->nameEditorViewController().usageView()->installEventFilter(this);
        }
        ordered.append(editor);
    }
    if (std::equal(ordered.cbegin(), ordered.cend(), m_conditionViewControllers.cbegin(), m_conditionViewControllers.cend())
        && m_rowsModel->rowCount() == ordered.size())
        return;
    m_conditionViewControllers = ordered;
    reloadTable(selection);
}

void StartupConditionsTableController::reloadTable(const QList<DBStartupCondition*>& selection)
{
    // The view deletes the cells it drops; the editors leave them first.
    for (StartupConditionViewControllerBase* editor : std::as_const(m_conditionViewControllers))
        editor->setParent(m_editorsShelf);
    QList<DBStartupCondition*> rows;
    for (const StartupConditionViewControllerBase* editor : std::as_const(m_conditionViewControllers))
        rows.append(RepresentedObject::objectAs<DBStartupCondition>(editor->representedObject()));
    m_rowsModel->setConditions(rows);
    for (qsizetype row = 0; row < m_conditionViewControllers.size(); ++row) {
        StartupConditionViewControllerBase* editor = m_conditionViewControllers[row];
        auto* cell = new StartupConditionCellView();
        auto* cellLayout = new QVBoxLayout(cell);
        cellLayout->setContentsMargins(0, 0, 0, 0);
        cellLayout->addWidget(editor);
        cell->setUsageView(editor->nameEditorViewController().usageView());
        editor->show();
        m_tableView->setIndexWidget(m_rowsModel->index(static_cast<int>(row)), cell);
    }
    noteStartupConditionsTableViewRowHeightsChanged();
    m_rowCommands->select(selection);
    updateCellBackgroundStyles();
    validateActions();
}

void StartupConditionsTableController::updateCellBackgroundStyles()
{
    const QItemSelectionModel* selection = m_tableView->selectionModel();
    for (int row = 0; row < m_rowsModel->rowCount(); ++row) {
        const QModelIndex index = m_rowsModel->index(row);
        if (auto* cell = qobject_cast<StartupConditionCellView*>(m_tableView->indexWidget(index)))
            cell->setBackgroundStyle(selection->isSelected(index) ? BackgroundStyle::Dark : BackgroundStyle::Light);
    }
}

void StartupConditionsTableController::noteStartupConditionsTableViewRowHeightsChanged()
{
    for (qsizetype row = 0; row < m_conditionViewControllers.size(); ++row)
        m_tableView->setRowHeight(static_cast<int>(row), static_cast<int>(std::ceil(m_conditionViewControllers[row]->requiredRowHeight())));
    m_rowCommands->rowHeightsDidChange();
}

void StartupConditionsTableController::startObservingStartupConditionViewController(StartupConditionViewControllerBase& editor)
{
    StartupConditionViewControllerBase* observed = &editor;
    m_editorObservations[observed] = {
        connect(&editor.nameEditorViewController(), &ConditionNameEditorViewController::isConditionUsedByItsParentLoginItemChanged, this,
                [this, observed](bool used) { conditionUsageDidChange(*observed, used); }),
        connect(&editor, &StartupConditionViewControllerBase::requiredRowHeightChanged, &m_rowHeightsTimer, qOverload<>(&QTimer::start)),
    };
    if (auto* network = qobject_cast<NetworkConditionViewController*>(observed))
        m_editorObservations[observed].append(connect(network, &NetworkConditionViewController::showGeneralPreferencesRequested, this,
                                                      &StartupConditionsTableController::showGeneralPreferencesRequested));
}

void StartupConditionsTableController::stopObservingStartupConditionViewController(StartupConditionViewControllerBase& editor)
{
    for (const QMetaObject::Connection& connection : m_editorObservations.take(&editor))
        QObject::disconnect(connection);
}

StartupConditionViewControllerBase* StartupConditionsTableController::rowEditorContaining(const QObject* object) const
{
    const auto* widget = qobject_cast<const QWidget*>(object);
    const auto found = std::find_if(m_conditionViewControllers.cbegin(), m_conditionViewControllers.cend(),
                                    [widget](StartupConditionViewControllerBase* editor) { return editor->isAncestorOf(widget); });
    return found == m_conditionViewControllers.cend() ? nullptr : *found;
}

bool StartupConditionsTableController::isInRowEditorControl(const QWidget* widget) const
{
    // Return in a time or number field finishes that field; on the table or
    // a row's name and check box it renames.
    StartupConditionViewControllerBase* editor = rowEditorContaining(widget);
    return editor && !editor->nameEditorViewController().isAncestorOf(widget);
}

bool StartupConditionsTableController::eventFilter(QObject* watched, QEvent* event)
{
    // The table's keys, and those typed on a row's check box before the box
    // takes them: a platform theme may let Return press it.
    const bool key = event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress;
    if (!key || (watched != m_tableView && !rowEditorContaining(watched)))
        return QObject::eventFilter(watched, event);
    const auto* keyEvent = static_cast<QKeyEvent*>(event);
    const bool alone = (keyEvent->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    const bool alt = keyEvent->modifiers() == Qt::AltModifier;
    QWidget* focus = QApplication::focusWidget();
    std::function<void()> command;
    if (keyEvent->matches(QKeySequence::Delete)) {
        command = [this] {
            if (validateCommand(CommandNames::deleteCurrentSelection, *m_actions.value(CommandNames::deleteCurrentSelection)))
                deleteCurrentSelection();
        };
    } else if (alone && (keyEvent->key() == Qt::Key_F2 || (isReturn(*keyEvent) && !isInRowEditorControl(focus)))) {
        command = [this] { m_rowCommands->renameSelected(); };
    } else if (alt && (keyEvent->key() == Qt::Key_Up || keyEvent->key() == Qt::Key_Down)) {
        const bool up = keyEvent->key() == Qt::Key_Up;
        command = [this, up] {
            if (!isLaunchSimulationModeActive())
                m_rowCommands->moveSelected(up);
        };
    } else if (alone && keyEvent->key() == Qt::Key_Space && focus == m_tableView) {
        // The current row's check box, as on a list of check boxes.
        command = [this] {
            if (StartupConditionViewControllerBase* editor = m_conditionViewControllers.value(m_tableView->currentIndex().row()))
                editor->nameEditorViewController().usageView()->click();
        };
    } else {
        return QObject::eventFilter(watched, event);
    }
    // The table's keys, not shortcuts: the window behind has its own, which
    // must not fire from here.
    event->accept();
    if (event->type() != QEvent::KeyPress)
        return true;
    // Typed in a row, a key acts on that row: it joins the selection first.
    if (StartupConditionViewControllerBase* focused = rowEditorContaining(focus); focused && focused->condition())
        m_rowCommands->includeInSelection(*focused->condition());
    command();
    return true;
}

// --- Usage of the conditions by the shown item ------------------------------------------

void StartupConditionsTableController::updateUsageStatusForStartupConditionViewController(StartupConditionViewControllerBase& editor)
{
    const DBLoginItem* item = representedItem();
    const DBStartupCondition* condition = editor.condition();
    ConditionNameEditorViewController& nameEditor = editor.nameEditorViewController();
    nameEditor.setIsConditionUsedByItsParentLoginItem(item && condition && item->itemStartupConditions().contains(condition));
    nameEditor.usageView()->setEnabled(item != nullptr);
}

void StartupConditionsTableController::updateUsageStatusForAllStartupConditionViewControllers()
{
    // Unobserved, so that these changes are not taken for the user's.
    for (StartupConditionViewControllerBase* editor : std::as_const(m_conditionViewControllers)) {
        stopObservingStartupConditionViewController(*editor);
        updateUsageStatusForStartupConditionViewController(*editor);
        startObservingStartupConditionViewController(*editor);
    }
}

void StartupConditionsTableController::conditionUsageDidChange(StartupConditionViewControllerBase& editor, bool used)
{
    DBLoginItem* item = representedItem();
    DBStartupCondition* condition = editor.condition();
    if (!item || !condition) {
        stopObservingStartupConditionViewController(editor);
        updateUsageStatusForStartupConditionViewController(editor);
        startObservingStartupConditionViewController(editor);
        return;
    }
    LOG_NORMAL("%1 usage of %2 by %3...", used ? QStringLiteral("Adding") : QStringLiteral("Removing"), condition, item);
    m_updatingModelFromView = true;
    if (editing()->setStartupConditionUsedByLoginItem(condition, item, used))
        save();
    m_updatingModelFromView = false;
}

// --- Creation limits and commands -------------------------------------------------------

void StartupConditionsTableController::updateConditionAllowedStatuses()
{
    int hotkeys = 0;
    int powerSources = 0;
    for (StartupConditionViewControllerBase* editor : std::as_const(m_conditionViewControllers)) {
        const DBStartupCondition* condition = editor->condition();
        if (!condition)
            continue;
        if (condition->conditionTypeValue() == StartupConditionTypeHotkey) {
            editor->updateHotkeyCombinationAllowedStatuses();
            ++hotkeys;
        } else if (condition->conditionTypeValue() == StartupConditionTypePowerSource) {
            editor->updatePowerSourceCombinationAllowedStatuses();
            ++powerSources;
        }
    }
    m_isCreatingHotkeyConditionAllowed = hotkeys < kMaximumHotkeyConditions;
    m_isCreatingPowerSourceConditionAllowed = powerSources < kMaximumPowerSourceConditions;
    validateActions();
}

QAction* StartupConditionsTableController::actionForCommand(const QString& command) const
{
    return m_actions.value(command);
}

bool StartupConditionsTableController::respondsToCommand(const QString& command) const
{
    static const QStringList commands { CommandNames::createScheduledStartupCondition, CommandNames::createHotkeyStartupCondition,
                                        CommandNames::createPowerSourceStartupCondition, CommandNames::createMountedVolumeStartupCondition,
                                        CommandNames::createNetworkStartupCondition, CommandNames::deleteCurrentSelection,
                                        CommandNames::unselectStartupConditions };
    return commands.contains(command);
}

bool StartupConditionsTableController::validateCommand(const QString& command, QAction& item)
{
    const bool simulation = isLaunchSimulationModeActive();
    if (command == CommandNames::createHotkeyStartupCondition)
        return !simulation && m_isCreatingHotkeyConditionAllowed;
    if (command == CommandNames::createPowerSourceStartupCondition)
        return !simulation && m_isCreatingPowerSourceConditionAllowed;
    if (command == CommandNames::unselectStartupConditions)
        return !selectedStartupConditions().isEmpty();
    if (command == CommandNames::deleteCurrentSelection) {
        if (simulation)
            return false;
        const QList<DBStartupCondition*> selected = selectedStartupConditions();
        setMenuItemTitle(item, localizator().menuItemTitleForDeletingStartupConditions(selected));
        return !selected.isEmpty();
    }
    return true;
}

void StartupConditionsTableController::performCommand(const QString& command)
{
    using Action = void (StartupConditionsTableController::*)();
    static const QList<std::pair<QString, Action>> actions {
        { CommandNames::createScheduledStartupCondition, &StartupConditionsTableController::createScheduledStartupCondition },
        { CommandNames::createHotkeyStartupCondition, &StartupConditionsTableController::createHotkeyStartupCondition },
        { CommandNames::createPowerSourceStartupCondition, &StartupConditionsTableController::createPowerSourceStartupCondition },
        { CommandNames::createMountedVolumeStartupCondition, &StartupConditionsTableController::createMountedVolumeStartupCondition },
        { CommandNames::createNetworkStartupCondition, &StartupConditionsTableController::createNetworkStartupCondition },
        { CommandNames::deleteCurrentSelection, &StartupConditionsTableController::deleteCurrentSelection },
        { CommandNames::unselectStartupConditions, &StartupConditionsTableController::unselectStartupConditions },
    };
    for (const auto& [name, action] : actions)
        if (name == command)
            (this->*action)();
}

void StartupConditionsTableController::validateActions()
{
    for (auto entry = m_actions.cbegin(); entry != m_actions.cend(); ++entry)
        entry.value()->setEnabled(validateCommand(entry.key(), *entry.value()));
}

void StartupConditionsTableController::changeToLaunchSimulationMode(bool active)
{
    CommonObjectsHolder::changeToLaunchSimulationMode(active);
    validateActions();
}

// --- Selection, creation, deletion ------------------------------------------------------

QList<DBStartupCondition*> StartupConditionsTableController::selectedStartupConditions() const
{
    return m_rowCommands ? m_rowCommands->selectedConditions() : QList<DBStartupCondition*>();
}


qsizetype StartupConditionsTableController::insertionIndexForNewlyCreatedConditions() const
{
    // Positions in the database's order, which also counts conditions without a row.
    const QList<DBStartupCondition*> all = managedObjectContext()->sortedStartupConditions();
    qsizetype index = all.size();
    const QList<DBStartupCondition*> selected = selectedStartupConditions();
    if (!selected.isEmpty()) {
        index = 0;
        for (DBStartupCondition* condition : selected)
            index = std::max(index, all.indexOf(condition) + 1);
    }
    return index;
}

void StartupConditionsTableController::createStartupConditionWithBlock(const std::function<DBStartupCondition*(qsizetype index)>& block)
{
    const qsizetype index = insertionIndexForNewlyCreatedConditions();
    DBStartupCondition* condition = block(index);
    Q_ASSERT_X(condition, Q_FUNC_INFO, "Forgot to return startup condition!");
    if (!condition)
        return;
    updateStartupConditionViewControllers();
    updateConditionAllowedStatuses();
    save();
    m_rowCommands->selectNew(*condition);
}

void StartupConditionsTableController::createScheduledStartupCondition()
{
    LOG_NORMAL("Creating scheduled startup condition...");
    createStartupConditionWithBlock([this](qsizetype index) { return editing()->createScheduledStartupConditionAtIndex(index); });
}

void StartupConditionsTableController::createHotkeyStartupCondition()
{
    LOG_NORMAL("Creating hotkey startup condition...");
    createStartupConditionWithBlock([this](qsizetype index) { return editing()->createHotkeyStartupConditionAtIndex(index); });
}

void StartupConditionsTableController::createPowerSourceStartupCondition()
{
    LOG_NORMAL("Creating power source startup condition...");
    createStartupConditionWithBlock([this](qsizetype index) { return editing()->createPowerSourceStartupConditionAtIndex(index); });
}

void StartupConditionsTableController::createMountedVolumeStartupCondition()
{
    LOG_NORMAL("Creating mounted volume startup condition...");
    createStartupConditionWithBlock([this](qsizetype index) { return editing()->createMountedVolumeStartupConditionAtIndex(index); });
}

void StartupConditionsTableController::createNetworkStartupCondition()
{
    LOG_NORMAL("Creating network startup condition...");
    createStartupConditionWithBlock([this](qsizetype index) { return editing()->createNetworkStartupConditionAtIndex(index); });
}

void StartupConditionsTableController::deleteCurrentSelection()
{
    m_rowCommands->deleteSelected();
}

void StartupConditionsTableController::unselectStartupConditions()
{
    m_tableView->clearSelection();
}

// --- Reordering by drag -------------------------------------------------------------------

void StartupConditionsTableController::acceptDrop(const QList<ObjectID>& conditionIDs, int row)
{
    // An earlier drop still on its way goes first.
    if (m_pendingMoveTimer.isActive()) {
        m_pendingMoveTimer.stop();
        runPendingMove();
    }
    QList<DBStartupCondition*> dragged;
    for (const ObjectID& identifier : conditionIDs)
        if (auto* condition = dynamic_cast<DBStartupCondition*>(managedObjectContext()->objectWithID(identifier)); condition && condition->isInserted())
            dragged.append(condition);
    const std::optional<StartupConditionRowCommands::Move> move = m_rowCommands->planMove(dragged, row);
    if (!move) {
        LOG_VERBOSE("The drop moves no condition");
        return;
    }
    LOG_NORMAL("Moving %1 startup conditions above row %2...", move->moving.size(), row);
    m_pendingMove = PendingMove();
    for (const DBStartupCondition* condition : move->moving)
        m_pendingMove.conditionIDs.append(condition->objectID());
    m_pendingMove.before = move->before;
    // The rows move at once; the database follows.
    QList<StartupConditionViewControllerBase*> editors;
    for (const DBStartupCondition* condition : move->order)
        editors.append(conditionViewControllerForCondition(condition));
    m_conditionViewControllers = editors;
    reloadTable(move->moving);
    m_pendingMoveTimer.start(static_cast<int>(std::lround(std::max(0.0f, userDefaults().dragDropDatabaseUpdateDelay()) * 1000)));
}

void StartupConditionsTableController::runPendingMove()
{
    const PendingMove move = std::exchange(m_pendingMove, PendingMove());
    // Unmoved, the rows go back to the database's order.
    if (!m_rowCommands->moveInDatabase(move.conditionIDs, move.before))
        updateStartupConditionViewControllers();
}

// --- The database going away ----------------------------------------------------------------

void StartupConditionsTableController::forgetAllConditions()
{
    m_pendingMoveTimer.stop();
    m_pendingMove = PendingMove();
    for (StartupConditionViewControllerBase* editor : std::as_const(m_conditionViewControllers))
        stopObservingStartupConditionViewController(*editor);
    m_conditionViewControllers.clear();
    m_rowsModel->setConditions({});
    m_conditionViewControllersByConditions.clear();
    validateActions();
}

void StartupConditionsTableController::save()
{
    helpers()->saveDataToDiskUsingChangeBackup(true);
}
