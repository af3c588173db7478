#include "ui/mainwindow/MainItemsViewController.h"

#include "engine/ApplicationContext.h"
#include "engine/ExecutingApplicationState.h"
#include "foundation/Log.h"
#include "foundation/MHInternalNotifications.h"
#include "foundation/UserDefaults.h"
#include "model/DBFileItem.h"
#include "model/DBLoginGroup.h"
#include "model/DBStartupCondition.h"
#include "model/ExecutionValidationParameters.h"
#include "model/ObjectContext.h"
#include "shell/ApplicationHelpers.h"
#include "shell/ModelEditing.h"
#include "texts/Localizator.h"
#include "ui/base/CommandNames.h"
#include "ui/base/FileItems.h"
#include "ui/base/LoginItemsListModel.h"
#include "ui/base/StartupConditionsClipboardData.h"
#include "ui/base/VisualFormatMargins.h"
#include "ui/base/WindowControllerBase.h"
#include "ui/inspector/ItemInspectorViewController.h"
#include "ui/mainwindow/ItemInspectorPopoverController.h"
#include "ui/mainwindow/MainAutoCloseBottomBarViewController.h"
#include "ui/mainwindow/MainBottomBarsController.h"
#include "ui/mainwindow/MainDefaultBottomBarViewController.h"
#include "ui/mainwindow/MainExecuteBottomBarViewController.h"
#include "ui/views/LoginItemDelegate.h"
#include "ui/views/LoginItemsListView.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QListView>
#include <QSet>
#include <QVBoxLayout>
#include <algorithm>

namespace {

QList<QUrl> runOpenPanel(QWidget* parent, const QString& title)
{
    QFileDialog panel(parent, title);
    panel.setObjectName(QStringLiteral("openPanel"));
    panel.setFileMode(QFileDialog::ExistingFiles);
    panel.setOptions(QFileDialog::DontResolveSymlinks);
    // Not the program's working folder, which means nothing to the user.
    panel.setDirectory(QDir::homePath());
    // Room for the name, size and date columns of the detail view, within the screen.
    panel.resize(720, 460);
    WindowControllerBase::fitWindowToScreen(panel);
    return panel.exec() == QDialog::Accepted ? panel.selectedUrls() : QList<QUrl>();
}

} // namespace

MainItemsViewController::MainItemsViewController(QWidget* parent)
    : LoginItemsPageController(false, parent)
    , m_openPanel(runOpenPanel)
{
    LOG_DEBUG("Initializing...");
    setObjectName(QStringLiteral("mainItemsView"));
}

MainItemsViewController::~MainItemsViewController()
{
    LOG_DEBUG("Deallocating...");
}

void MainItemsViewController::awakeFromNib()
{
    LOG_DEBUG("Awaking from nib...");

    m_model = new LoginItemsListModel(*managedObjectContext(), representedGroup(), this);
    m_model->setLocalizator(&localizator());
    m_itemsTableView = new LoginItemsListView(this);
    m_itemsTableView->setObjectName(QStringLiteral("itemsTableView"));
    m_itemsTableView->setAccessibleName(localizator().applicationLoginGroupDisplayName());
    m_itemsTableView->setModel(m_model);
    m_itemsTableView->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_itemsTableView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Rows of files and of the other kinds differ in height; the delegate paints the stripes.
    m_itemsTableView->setUniformItemSizes(false);
    m_itemDelegate = new LoginItemDelegate([this](const QModelIndex& index) { return itemAtIndex(index.row()); },
                                           m_model->runStates(), &userDefaults(), m_itemsTableView);
    m_itemsTableView->setItemDelegate(m_itemDelegate);
    m_model->enableDragAndDrop(*this, [this] { return !helpers()->applicationContext().isExecutionInProgress(); });
    connect(m_model, &LoginItemsListModel::itemsDropped, this, &MainItemsViewController::itemsDropped);
    connect(m_itemDelegate, &LoginItemDelegate::repaintNeeded, m_itemsTableView->viewport(), qOverload<>(&QWidget::update));
    connect(m_itemDelegate, &LoginItemDelegate::actionButtonClicked, this, &MainItemsViewController::showLoginItemInspector);
    m_itemDelegate->reportActionKeys(m_itemsTableView);
    connect(m_itemsTableView, &QAbstractItemView::doubleClicked, this, &MainItemsViewController::itemDoubleClicked);
    setFocusProxy(m_itemsTableView);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(mainWindowPageMargins(userDefaults()));
    layout->setSpacing(0);
    layout->addWidget(m_itemsTableView);
    auto* bottomBarPlaceholder = new QWidget(this);
    bottomBarPlaceholder->setObjectName(QStringLiteral("bottomBarPlaceholder"));
    bottomBarPlaceholder->setFixedHeight(32);
    layout->addWidget(bottomBarPlaceholder);

    m_inspectors = new ItemInspectorPopoverController(
        [this] {
            auto* inspector = new ItemInspectorViewController;
            copyCommonObjectsToViewController(*inspector);
            inspector->loadView();
            inspector->changeToLaunchSimulationMode(isLaunchSimulationModeActive());
            connect(inspector, &ItemInspectorViewController::showGeneralPreferencesRequested, this,
                    &MainItemsViewController::showGeneralPreferencesRequested);
            return inspector;
        },
        this);
    connect(m_inspectors, &ItemInspectorPopoverController::selectItemRequested, this,
            [this](DBLoginItem* item) { selectItems({ item }); });
    connect(m_itemsTableView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { m_inspectors->selectionDidChange(selectedItems()); });
    setUpBottomBars(bottomBarPlaceholder);

    m_itemsListsSizeObserver = notificationCenter().addObserver(
        MHInternalNotifications::MHInternalNotificationItemsListsSizeDidChange, nullptr, [this](const Notification&) {
            QMetaObject::invokeMethod(this, [this] { itemsListsSizeDidChange(); }, Qt::QueuedConnection);
        });
}

void MainItemsViewController::setUpBottomBars(QWidget* placeholder)
{
    m_bottomBars = std::make_unique<MainBottomBarsController>(commonObjects(), *this, placeholder);
    connect(m_bottomBars.get(), &MainBottomBarsController::rowParametersChanged, this, &MainItemsViewController::showRowParameters);
    connect(m_bottomBars.get(), &MainBottomBarsController::itemExecutionChanged, this, [this](const ObjectID& item, bool executing) {
        // The statuses stay as judged against the run's snapshot; only the
        // row's marks change.
        m_model->runStates().setItemExecuting(item, executing);
        m_model->repaintRowOfItem(item);
    });
    connect(m_bottomBars.get(), &MainBottomBarsController::executionDidEnd, this, [this] {
        m_model->runStates().endRun();
        m_model->repaintAllRows();
    });
    connect(m_bottomBars.get(), &MainBottomBarsController::executionDidStart, m_inspectors, &ItemInspectorPopoverController::closeDetachedWindow);
    MainDefaultBottomBarViewController* defaultBar = m_bottomBars->defaultBottomBarViewController();
    defaultBar->setIsAtLeastOneSystemItemAvailable(m_atLeastOneSystemItemAvailable);
    connect(defaultBar, &MainDefaultBottomBarViewController::systemItemsRequested, this, &MainItemsViewController::systemItemsViewRequested);
    connect(m_bottomBars->executeBottomBarViewController(), &MainExecuteBottomBarViewController::cancelRequested, this,
            &MainItemsViewController::cancelLoginItemsExecution);
    connect(m_bottomBars->autoCloseBottomBarViewController(), &MainAutoCloseBottomBarViewController::cancelRequested, this,
            &MainItemsViewController::cancelAutoClose);
}

void MainItemsViewController::showRowParameters()
{
    ItemRunStates& states = m_model->runStates();
    const bool wasOn = states.isStatusDisplayOn();
    states.setStatusDisplayOn(m_bottomBars->isStatusDisplayOn());
    states.setParameters(m_bottomBars->rowParameters());
    LOG_DEBUG("Updating user interface from launch parameters %1...", states.parameters() ? states.parameters()->logDescription() : QString());
    m_model->judgeRows();
    m_itemDelegate->setStatusDisplayOn(states.isStatusDisplayOn(), wasOn != states.isStatusDisplayOn());
}

void MainItemsViewController::itemsDropped()
{
    const std::shared_ptr<ExecutionValidationParameters>& parameters = m_bottomBars->launchSimulationParameters();
    if (!parameters)
        return;
    LOG_DEBUG("Updating simulation parameters after a drop...");
    parameters->updateAvailableItems();
    showRowParameters();
}

void MainItemsViewController::itemsListsSizeDidChange()
{
    LOG_VERBOSE("Items lists size did change, updating content...");
    m_itemsTableView->doItemsLayout();
}

void MainItemsViewController::changeToLaunchSimulationMode(bool active)
{
    ViewControllerBase::changeToLaunchSimulationMode(active);
    if (!isViewLoaded())
        return;
    m_inspectors->changeToLaunchSimulationMode(active);
    m_bottomBars->changeToLaunchSimulationMode(active);
}

void MainItemsViewController::showLoginItemInspector(const QModelIndex& index, const QRect& rect)
{
    if (!isCommandEnabled(CommandNames::showLoginItemInspector, validationState()))
        return;
    if (DBLoginItem* item = itemAtIndex(index.row()))
        m_inspectors->showLoginItemInspector(item, m_itemsTableView->viewport(), rect);
}

void MainItemsViewController::makeFirstResponder()
{
    // The keyboard lands on a row the user sees selected, the first one
    // unless rows are selected already.
    if (m_itemsTableView->selectionModel()->selectedIndexes().isEmpty())
        if (DBLoginItem* first = itemAtIndex(0))
            selectItems({ first });
    LoginItemsPageController::makeFirstResponder();
}

void MainItemsViewController::selectItems(const QList<DBLoginItem*>& items)
{
    m_model->refresh();
    QItemSelection selection;
    for (DBLoginItem* item : items)
        if (const int row = m_model->rowOfItem(item); row >= 0)
            selection.select(m_model->index(row), m_model->index(row));
    m_itemsTableView->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    if (!selection.isEmpty()) {
        const QModelIndex first = selection.first().topLeft();
        m_itemsTableView->selectionModel()->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
        LOG_DEBUG("Scrolling row %1 to visible...", first.row());
        m_itemsTableView->scrollTo(first);
    }
}

qsizetype MainItemsViewController::insertionIndexForNewlyCreatedItems() const
{
    // Positions in the list, not stored sort indexes: a list loaded with gaps
    // in its numbering still gets the new items right after the selection.
    const QList<DBLoginItem*> selected = selectedItems();
    return selected.isEmpty() ? m_model->rowCount() : m_model->rowOfItem(selected.last()) + 1;
}

bool MainItemsViewController::isAtLeastOneFileItemSelected() const
{
    return !fileItemsOf(selectedItems()).isEmpty();
}

void MainItemsViewController::setIsAtLeastOneSystemItemAvailable(bool available)
{
    LOG_DEBUG("Can switch to system items value changed, updating children...");
    m_atLeastOneSystemItemAvailable = available;
    if (m_bottomBars)
        m_bottomBars->defaultBottomBarViewController()->setIsAtLeastOneSystemItemAvailable(available);
}

void MainItemsViewController::updateContentAccordingToModifierKeysState()
{
    if (m_bottomBars)
        m_bottomBars->updateContentAccordingToModifierKeysState();
}

void MainItemsViewController::updateContentAccordingToNetworkState()
{
    if (m_bottomBars)
        m_bottomBars->updateContentAccordingToNetworkState();
}

// --- Editing -----------------------------------------------------------------------

void MainItemsViewController::performEdit(const std::function<QString()>& edit)
{
    performUndoableEdit(edit);
    m_model->refresh();
}

void MainItemsViewController::createItems(const QVariantList& data,
                                          QList<DBLoginItem*> (ModelEditing::*create)(const QVariantList&, DBLoginGroup*, qsizetype),
                                          QString (Localizator::*actionName)(const QList<DBLoginItem*>&) const)
{
    const qsizetype index = insertionIndexForNewlyCreatedItems();
    LOG_DEBUG("Items will be inserted to table row %1.", index);
    performEdit([&] {
        const QList<DBLoginItem*> created = (editing()->*create)(data, representedGroup(), index);
        LOG_DEBUG("Selecting created items...");
        selectItems(created);
        return created.isEmpty() ? QString() : (localizator().*actionName)(created);
    });
}

void MainItemsViewController::createNewFileItem()
{
    LOG_NORMAL("Creating new file item...");
    const QList<QUrl> urls = m_openPanel(window(), localizator().createFileItemOpenPanelTitle());
    if (urls.isEmpty())
        return;
    LOG_INFO("User selected %1 items for importing.", urls.size());
    QVariantList data;
    for (const QUrl& url : urls)
        data.append(url);
    createItems(data, &ModelEditing::createFileItemsFromData, &Localizator::undoActionForCreatingFileItems);
}

void MainItemsViewController::createNewDelayItem()
{
    LOG_NORMAL("Creating new delay item...");
    createItems({ userDefaults().delayLoginItemDefaultDelay() }, &ModelEditing::createDelayItemsFromData,
                &Localizator::undoActionForCreatingDelayItems);
}

void MainItemsViewController::createNewWaitPreviousItem()
{
    LOG_NORMAL("Creating new wait previous item...");
    createItems({ QVariant() }, &ModelEditing::createWaitPreviousItemsFromData, &Localizator::undoActionForCreatingWaitPreviousItems);
}

void MainItemsViewController::createNewConditionalPreviousItem()
{
    LOG_NORMAL("Creating new conditional previous item...");
    createItems({ QVariant() }, &ModelEditing::createConditionalPreviousItemsFromData,
                &Localizator::undoActionForCreatingConditionalPreviousItems);
}

void MainItemsViewController::moveCurrentSelectionToSystemPreferences()
{
    LOG_NORMAL("Moving currently selected items to System Preferences...");
    const QList<DBLoginItem*> selection = selectedItems();
    LOG_VERBOSE("%1 items will be moved to system preferences and marked as ignored...", selection.size());
    // Only file items leave the list; the others have nothing to hand back.
    QList<DBFileItem*> moved;
    performEdit([&] {
        DBLoginGroup* ignored = managedObjectContext()->getOrCreateIgnoreLoginGroup();
        editing()->moveLoginItems(selection, representedGroup(), ignored, managedObjectContext()->sortedLoginItemsForGroup(ignored).size());
        QList<SystemItemData> entries;
        for (DBFileItem* item : fileItemsOf(selection))
            if (item->itemLoginGroup() == ignored) {
                moved.append(item);
                entries.append(SystemItemData(*item));
            }
        if (moved.isEmpty())
            return QString();
        // Undone, they leave the session's list again; redone, they go back to it.
        registerSessionListFollowing(*undoManager(), helpers()->applicationContext(), entries, false);
        return localizator().undoActionForMovingApplicationItemsToSystemPreferences({ moved.begin(), moved.end() });
    });
    if (moved.isEmpty())
        return;
    LOG_VERBOSE("Moving %1 items to system preferences...", moved.size());
    createSystemItemsFromFileItems(helpers()->applicationContext(), moved);
}

void MainItemsViewController::moveCurrentSelectionToIgnoredItems()
{
    LOG_NORMAL("Moving currently selected items to ignored items list...");
    const QList<DBLoginItem*> selection = selectedItems();
    LOG_VERBOSE("%1 items will be moved to ignored group...", selection.size());
    performEdit([&] {
        DBLoginGroup* ignored = managedObjectContext()->getOrCreateIgnoreLoginGroup();
        editing()->moveLoginItems(selection, representedGroup(), ignored, managedObjectContext()->sortedLoginItemsForGroup(ignored).size());
        QList<DBLoginItem*> moved;
        for (DBLoginItem* item : selection)
            if (item->itemLoginGroup() == ignored)
                moved.append(item);
        return moved.isEmpty() ? QString() : localizator().undoActionForMovingApplicationItemsToIgnoreGroup(moved);
    });
}

void MainItemsViewController::deleteCurrentSelection()
{
    LOG_NORMAL("Deleting currently selected items...");
    const QList<DBLoginItem*> selection = selectedItems();
    LOG_VERBOSE("%1 items will be deleted...", selection.size());
    performEdit([&] {
        if (selection.isEmpty())
            return QString();
        editing()->deleteLoginItems(selection, representedGroup());
        return localizator().undoActionForDeletingLoginItems(selection);
    });
}

void MainItemsViewController::changeStartupModeToShown()
{
    LOG_NORMAL("Changing startup mode to shown...");
    performChangeItemStartupModeTo(ItemStartupModeShown);
}

void MainItemsViewController::changeStartupModeToHidden()
{
    LOG_NORMAL("Changing startup mode to hidden...");
    performChangeItemStartupModeTo(ItemStartupModeHidden);
}

void MainItemsViewController::changeStartupModeToDisabled()
{
    LOG_NORMAL("Changing startup mode to disabled...");
    performChangeItemStartupModeTo(ItemStartupModeDisabled);
}

void MainItemsViewController::performChangeItemStartupModeTo(int mode)
{
    performEdit([&] {
        QList<DBFileItem*> changed;
        for (DBFileItem* item : fileItemsOf(selectedItems())) {
            if (item->itemStartupModeValue() == mode)
                continue;
            item->setItemStartupModeValue(mode);
            changed.append(item);
        }
        return changed.isEmpty() ? QString() : localizator().undoActionForChangingFileItemsStartupMode(changed);
    });
}

// --- Copying startup conditions ------------------------------------------------

void MainItemsViewController::copy()
{
    const QList<DBLoginItem*> selection = selectedItems();
    if (selection.size() != 1)
        return;
    const DBLoginItem* source = selection.last();
    LOG_NORMAL("Copying startup conditions from %1...", source);
    QGuiApplication::clipboard()->setMimeData(StartupConditionsClipboardData::mimeDataWithConditions(source->itemStartupConditions()));
}

void MainItemsViewController::paste()
{
    performPasteAndAppend(false);
}

void MainItemsViewController::pasteAndAppendStartupConditions()
{
    performPasteAndAppend(true);
}

void MainItemsViewController::performPasteAndAppend(bool append)
{
    const QList<DBLoginItem*> selection = selectedItems();
    LOG_NORMAL("Pasting startup conditions to %1 items...", selection.size());
    const std::optional<QList<DBStartupCondition*>> conditions =
        StartupConditionsClipboardData::conditionsFromMimeData(QGuiApplication::clipboard()->mimeData(), *managedObjectContext());
    if (!conditions) {
        LOG_WARN("The clipboard holds no startup conditions of this database, nothing to paste.");
        return;
    }
    LOG_INFO("Found %1 conditions...", conditions->size());
    const QSet<DBStartupCondition*> pasted(conditions->begin(), conditions->end());
    performEdit([&] {
        QList<DBLoginItem*> changed;
        for (DBLoginItem* item : selection) {
            const QList<DBStartupCondition*> current = item->itemStartupConditions();
            const QSet<DBStartupCondition*> had(current.begin(), current.end());
            if (append ? had.contains(pasted) : had == pasted)
                continue;
            if (append)
                item->appendItemStartupConditionsWithConditionObjectsFromArray(*conditions);
            else
                item->replaceItemStartupConditionsWithConditionObjectsFromArray(*conditions);
            changed.append(item);
        }
        return changed.isEmpty() ? QString() : localizator().undoActionForPastingStartupConditions(*conditions, changed);
    });
}

// --- Other commands --------------------------------------------------------------

void MainItemsViewController::unselectApplicationItems()
{
    LOG_NORMAL("Unselecting currently selected application items...");
    m_itemsTableView->clearSelection();
}

void MainItemsViewController::cancelLoginItemsExecution()
{
    LOG_NORMAL("Cancelling ongoing execution.");
    helpers()->applicationContext().cancelExecution();
}

void MainItemsViewController::cancelAutoClose()
{
    LOG_NORMAL("Cancelling ongoing auto close.");
    helpers()->applicationContext().cancelAutoClose();
}

void MainItemsViewController::itemDoubleClicked(const QModelIndex& index)
{
    // A click that landed beside the rows, or on a row that has just gone.
    if (!index.isValid() || !itemAtIndex(index.row()))
        return;
    launchSelectedItems();
}

void MainItemsViewController::launchSelectedItems()
{
    const QList<DBLoginItem*> selection = selectedItems();
    if (selection.isEmpty())
        return;
    if (!userDefaults().isDoubleClickToLaunchItemsEnabled()) {
        LOG_WARN("Double click to launch items is disabled.");
        return;
    }
    LOG_NORMAL("Launching %1 items...", selection.size());
    auto* state = dynamic_cast<ExecutingApplicationState*>(helpers()->applicationContext().executeItemsState());
    if (!state)
        return;
    state->executeFileItems(fileItemsOf(selection), [](const DBFileItem* item, const Error& error) {
        LOG_WARN("Failed launching %1...", item->itemNiceDisplayName());
        Error::log(QStringLiteral("Launch error:"), error);
    });
}

// --- Commands ----------------------------------------------------------------------

const QHash<QString, MainItemsViewController::Command>& MainItemsViewController::commands()
{
    using C = MainItemsViewController;
    static const QHash<QString, Command> table {
        { CommandNames::createNewFileItem, &C::createNewFileItem },
        { CommandNames::createNewDelayItem, &C::createNewDelayItem },
        { CommandNames::createNewWaitPreviousItem, &C::createNewWaitPreviousItem },
        { CommandNames::createNewConditionalPreviousItem, &C::createNewConditionalPreviousItem },
        { CommandNames::moveCurrentSelectionToSystemPreferences, &C::moveCurrentSelectionToSystemPreferences },
        { CommandNames::moveCurrentSelectionToIgnoredItems, &C::moveCurrentSelectionToIgnoredItems },
        { CommandNames::deleteCurrentSelection, &C::deleteCurrentSelection },
        { CommandNames::changeStartupModeToShown, &C::changeStartupModeToShown },
        { CommandNames::changeStartupModeToHidden, &C::changeStartupModeToHidden },
        { CommandNames::changeStartupModeToDisabled, &C::changeStartupModeToDisabled },
        { CommandNames::unselectApplicationItems, &C::unselectApplicationItems },
        { CommandNames::cancelLoginItemsExecution, &C::cancelLoginItemsExecution },
        { CommandNames::cancelAutoClose, &C::cancelAutoClose },
        { CommandNames::launchSelectedItems, &C::launchSelectedItems },
        { CommandNames::copy, &C::copy },
        { CommandNames::paste, &C::paste },
        { CommandNames::pasteAndAppendStartupConditions, &C::pasteAndAppendStartupConditions },
        { CommandNames::moveSelectedItemsUp, &C::moveSelectedItemsUp },
        { CommandNames::moveSelectedItemsDown, &C::moveSelectedItemsDown },
    };
    return table;
}

bool MainItemsViewController::isCommandEnabled(const QString& command, const ValidationState& state)
{
    namespace N = CommandNames;
    const bool editable = !state.executionInProgress && !state.simulationActive;
    if (command == N::createNewFileItem || command == N::createNewDelayItem || command == N::createNewWaitPreviousItem
        || command == N::createNewConditionalPreviousItem)
        return editable;
    if (command == N::showLoginItemInspector)
        return !state.executionInProgress && !state.inspectorDetached;
    if (command == N::unselectApplicationItems)
        return state.selectedCount > 0;
    if (command == N::moveCurrentSelectionToSystemPreferences || command == N::moveCurrentSelectionToIgnoredItems
        || command == N::deleteCurrentSelection) {
        // Only file items have a place in the session's list.
        const bool hasSubject = command != N::moveCurrentSelectionToSystemPreferences || state.fileItemSelected;
        return editable && state.selectedCount > 0 && hasSubject && (!state.inspectorDetached || state.windowIsKey);
    }
    if (command == N::changeStartupModeToShown || command == N::changeStartupModeToHidden || command == N::changeStartupModeToDisabled)
        return !state.executionInProgress && state.windowIsKey && state.fileItemSelected;
    if (command == N::copy)
        return state.selectedCount == 1;
    if (command == N::paste)
        return state.selectedCount > 0;
    return true;
}

MainItemsViewController::ValidationState MainItemsViewController::validationState() const
{
    ValidationState state;
    state.executionInProgress = helpers()->applicationContext().isExecutionInProgress();
    state.simulationActive = isLaunchSimulationModeActive();
    state.inspectorDetached = m_inspectors && m_inspectors->isItemInspectorDetached();
    state.windowIsKey = window()->isActiveWindow();
    const QList<DBLoginItem*> selection = selectedItems();
    state.selectedCount = static_cast<int>(selection.size());
    state.fileItemSelected = !fileItemsOf(selection).isEmpty();
    return state;
}

bool MainItemsViewController::respondsToCommand(const QString& command) const
{
    return commands().contains(command);
}

bool MainItemsViewController::validateCommand(const QString& command, QAction& item)
{
    const QList<DBLoginItem*> selection = selectedItems();
    if (command == CommandNames::moveCurrentSelectionToSystemPreferences)
        setMenuItemTitle(item, localizator().menuItemTitleForMovingApplicationItemsToSystemPreferences(selection));
    else if (command == CommandNames::moveCurrentSelectionToIgnoredItems)
        setMenuItemTitle(item, localizator().menuItemTitleForMovingApplicationItemsToIgnoredGroup(selection));
    else if (command == CommandNames::deleteCurrentSelection)
        setMenuItemTitle(item, localizator().menuItemTitleForDeletingLoginItems(selection));
    // A move by key is a drag: not during a run, and only where the rows can go.
    if (command == CommandNames::moveSelectedItemsUp || command == CommandNames::moveSelectedItemsDown)
        return !helpers()->applicationContext().isExecutionInProgress() && canMoveSelectedItems(command == CommandNames::moveSelectedItemsUp);
    return isCommandEnabled(command, validationState());
}

void MainItemsViewController::performCommand(const QString& command)
{
    if (const Command perform = commands().value(command))
        (this->*perform)();
}
