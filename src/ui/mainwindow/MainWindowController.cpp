#include "ui/mainwindow/MainWindowController.h"

#include "foundation/DispatchQueue.h"
#include "foundation/Log.h"
#include "foundation/MHExecuteNotifications.h"
#include "foundation/MHInternalNotifications.h"
#include "foundation/MHSystemItemsNotifications.h"
#include "model/DBLoginGroup.h"
#include "model/ObjectContext.h"
#include "shell/ApplicationCommands.h"
#include "shell/ApplicationHelpers.h"
#include "texts/Localizator.h"
#include "ui/base/AnimatedPlaceholderContext.h"
#include "ui/base/CommandDispatcher.h"
#include "ui/base/CommandNames.h"
#include "ui/base/LoginItemsPageController.h"
#include "ui/mainwindow/MainBottomBarsController.h"
#include "ui/mainwindow/MainItemsViewController.h"
#include "ui/mainwindow/MainSystemViewController.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenuBar>

MainWindowController::MainWindowController(QObject* parent)
    : WindowControllerBase(parent)
{
    LOG_DEBUG("Initializing...");
}

MainWindowController::~MainWindowController()
{
    LOG_DEBUG("Deallocating...");
}

MainItemsViewController* MainWindowController::itemsSubviewController()
{
    if (!m_itemsSubviewController) {
        LOG_DEBUG("Initializing items subview controller due to first access...");
        m_itemsSubviewController = std::make_unique<MainItemsViewController>();
        copyCommonObjectsToViewController(*m_itemsSubviewController);
        DBLoginGroup* group = managedObjectContext()->getOrCreateApplicationLoginGroup();
        m_itemsSubviewController->setRepresentedObject(QVariant::fromValue(group));
        connect(m_itemsSubviewController.get(), &MainItemsViewController::systemItemsViewRequested, this,
                &MainWindowController::switchToSystemItemsView);
        connect(m_itemsSubviewController.get(), &MainItemsViewController::showGeneralPreferencesRequested, this, [this] {
            if (m_dispatcher)
                m_dispatcher->sendCommand(ApplicationCommands::showGeneralPreferences, m_itemsSubviewController.get());
        });
    }
    return m_itemsSubviewController.get();
}

MainSystemViewController* MainWindowController::systemSubviewController()
{
    if (!m_systemSubviewController) {
        LOG_DEBUG("Initializing system items subview controller due to first access...");
        m_systemSubviewController = std::make_unique<MainSystemViewController>();
        copyCommonObjectsToViewController(*m_systemSubviewController);
    }
    return m_systemSubviewController.get();
}

AnimatedPlaceholderContext* MainWindowController::placeholderContext()
{
    // The context works on the window's page area; loading the window asks
    // for the context too.
    window();
    if (!m_placeholderContext) {
        LOG_DEBUG("Initializing placeholder context due to first access...");
        m_placeholderContext = std::make_unique<AnimatedPlaceholderContext>(m_placeholderView);
    }
    return m_placeholderContext.get();
}

std::unique_ptr<QWidget> MainWindowController::makeWindow()
{
    auto mainWindow = std::make_unique<QMainWindow>();
    mainWindow->setObjectName(QStringLiteral("mainWindow"));
    // Screen readers read the title, which follows the page.
    mainWindow->setWindowTitle(helpers()->applicationName());
    m_placeholderView = new QWidget(mainWindow.get());
    m_placeholderView->setObjectName(QStringLiteral("placeholderView"));
    mainWindow->setCentralWidget(m_placeholderView);
    // Both fit a screen of 800 by 600 with its panel and the window's frame.
    mainWindow->resize(520, 480);
    mainWindow->setMinimumSize(360, 320);
    buildMenuBar(*mainWindow->menuBar());
    // Modifier keys reach whichever widget has the focus.
    qApp->installEventFilter(this);
    return mainWindow;
}

void MainWindowController::buildMenuBar(QMenuBar& menuBar)
{
    menuBar.setObjectName(QStringLiteral("mainMenuBar"));
    if (!m_dispatcher)
        return;
    using Text = Localizator::WindowText;
    const Localizator& texts = localizator();
    const auto addMenu = [&](const QString& name, Text title) {
        QMenu* menu = menuBar.addMenu(texts.windowText(title));
        menu->setObjectName(name);
        m_dispatcher->manageMenu(*menu);
        return menu;
    };
    const auto add = [&](QMenu* menu, const QString& command, const QString& title, const QKeySequence& shortcut = {}) {
        return m_dispatcher->addCommand(*menu, command, title, shortcut);
    };
    const auto standard = &CommandDispatcher::standardShortcut;

    QMenu* file = addMenu(QStringLiteral("fileMenu"), Text::FileMenu);
    add(file, CommandNames::createNewFileItem, texts.windowText(Text::ImportMenuItem), standard(QKeySequence::Open, "Ctrl+O"));
    add(file, CommandNames::createNewDelayItem, texts.windowText(Text::NewDelayItemMenuItem), QKeySequence(QStringLiteral("Ctrl+Shift+D")));
    add(file, CommandNames::createNewWaitPreviousItem, texts.windowText(Text::NewWaitPreviousItemMenuItem),
        QKeySequence(QStringLiteral("Ctrl+Shift+W")));
    add(file, CommandNames::createNewConditionalPreviousItem, texts.windowText(Text::NewConditionalPreviousItemMenuItem),
        QKeySequence(QStringLiteral("Ctrl+Shift+C")));
    file->addSeparator();
    add(file, ApplicationCommands::restoreDatabaseFromBackup, texts.windowText(Text::RestoreDatabaseMenuItem), QKeySequence(QStringLiteral("Ctrl+Shift+B")));
    add(file, ApplicationCommands::showPreferencesWindow, texts.windowText(Text::PreferencesMenuItem), standard(QKeySequence::Preferences, "Ctrl+,"));
    file->addSeparator();
    add(file, CommandNames::performClose, texts.windowText(Text::CloseWindowMenuItem), standard(QKeySequence::Close, "Ctrl+W"));
    add(file, CommandNames::terminate, texts.windowText(Text::QuitMenuItem), standard(QKeySequence::Quit, "Ctrl+Q"));

    QMenu* edit = addMenu(QStringLiteral("editMenu"), Text::EditMenu);
    add(edit, CommandNames::undo, texts.menuItemTitleForUndo({}), standard(QKeySequence::Undo, "Ctrl+Z"));
    add(edit, CommandNames::redo, texts.menuItemTitleForRedo({}), standard(QKeySequence::Redo, "Ctrl+Shift+Z"));
    edit->addSeparator();
    add(edit, CommandNames::copy, texts.windowText(Text::CopyMenuItem), standard(QKeySequence::Copy, "Ctrl+C"));
    add(edit, CommandNames::paste, texts.windowText(Text::PasteMenuItem), standard(QKeySequence::Paste, "Ctrl+V"));
    add(edit, CommandNames::pasteAndAppendStartupConditions, texts.windowText(Text::PasteAndAppendStartupConditionsMenuItem),
        QKeySequence(QStringLiteral("Ctrl+Shift+V")));
    add(edit, CommandNames::deleteCurrentSelection, texts.menuItemTitleforDeletingWhenNothingIsSelected(), standard(QKeySequence::Delete, "Del"));
    add(edit, CommandNames::unselectApplicationItems, texts.windowText(Text::UnselectAllMenuItem), standard(QKeySequence::Deselect, "Ctrl+Shift+A"));

    QMenu* items = addMenu(QStringLiteral("itemsMenu"), Text::ItemsMenu);
    add(items, CommandNames::moveCurrentSelectionToIgnoredItems, texts.menuItemTitleForMovingToIgnoredGroupWhenNothingIsSelected(),
        QKeySequence(QStringLiteral("Ctrl+Shift+I")));
    add(items, CommandNames::moveCurrentSelectionToSystemPreferences, texts.menuItemTitleForMovingToSystemPreferencesWhenNothingIsSelected(),
        QKeySequence(QStringLiteral("Ctrl+Shift+M")));
    items->addSeparator();
    add(items, CommandNames::moveSelectedItemsToLanternwick, texts.windowText(Text::MoveToLanternwickMenuItem),
        QKeySequence(QStringLiteral("Ctrl+Shift+L")));
    add(items, CommandNames::markSelectedItemsAsIgnored, texts.windowText(Text::MarkAsIgnoredMenuItem), QKeySequence(QStringLiteral("Ctrl+Alt+I")));
    items->addSeparator();
    add(items, CommandNames::changeStartupModeToShown, texts.windowText(Text::StartShownMenuItem), QKeySequence(QStringLiteral("Ctrl+Alt+1")));
    add(items, CommandNames::changeStartupModeToHidden, texts.windowText(Text::StartHiddenMenuItem), QKeySequence(QStringLiteral("Ctrl+Alt+2")));
    add(items, CommandNames::changeStartupModeToDisabled, texts.windowText(Text::StartDisabledMenuItem),
        QKeySequence(QStringLiteral("Ctrl+Alt+3")));
    items->addSeparator();
    add(items, CommandNames::moveSelectedItemsUp, texts.windowText(Text::MoveUpMenuItem), LoginItemsPageController::moveShortcut(true));
    add(items, CommandNames::moveSelectedItemsDown, texts.windowText(Text::MoveDownMenuItem), LoginItemsPageController::moveShortcut(false));
    items->addSeparator();
    add(items, CommandNames::launchSelectedItems, texts.windowText(Text::LaunchSelectedItemsMenuItem), QKeySequence(QStringLiteral("Ctrl+Return")));
    add(items, CommandNames::cancelLoginItemsExecution, texts.windowText(Text::CancelLaunchMenuItem), QKeySequence(QStringLiteral("Ctrl+.")));
    add(items, CommandNames::cancelAutoClose, texts.windowText(Text::CancelAutoCloseMenuItem), QKeySequence(QStringLiteral("Ctrl+Alt+.")));
    items->addSeparator();
    add(items, ApplicationCommands::executeLoginItems, texts.windowText(Text::LaunchItemsNowMenuItem), QKeySequence(QStringLiteral("Ctrl+Shift+Return")));
    m_simulationMenuItem = add(items, ApplicationCommands::toggleSimulationMode,
                               texts.menuItemTitleForTogglinngSimulationMode(isLaunchSimulationModeActive()),
                               QKeySequence(QStringLiteral("Ctrl+Shift+S")));
    items->addSeparator();
    add(items, ApplicationCommands::disableLanternwickAndMoveItemsToSystemPreferences, texts.windowText(Text::DisableLanternwickMenuItem),
        QKeySequence(QStringLiteral("Ctrl+Alt+D")));

    QMenu* view = addMenu(QStringLiteral("viewMenu"), Text::ViewMenu);
    add(view, CommandNames::switchToApplicationItemsView, texts.windowText(Text::ItemsPageMenuItem), QKeySequence(QStringLiteral("Ctrl+1")));
    add(view, CommandNames::switchToSystemItemsView, texts.windowText(Text::SystemItemsPageMenuItem), QKeySequence(QStringLiteral("Ctrl+2")));

    QMenu* help = addMenu(QStringLiteral("helpMenu"), Text::HelpMenu);
    add(help, ApplicationCommands::showWelcomeWindow, texts.windowText(Text::WelcomeMenuItem), standard(QKeySequence::HelpContents, "F1"));
    add(help, ApplicationCommands::contactSupport, texts.windowText(Text::ContactSupportMenuItem), QKeySequence(QStringLiteral("Ctrl+Shift+F")));
    help->addSeparator();
    add(help, ApplicationCommands::showAboutWindow, texts.windowText(Text::AboutMenuItem), QKeySequence(QStringLiteral("Ctrl+Alt+A")));

    // Shortcuts of the menus work while the window's own focus is anywhere in it.
    for (QAction* menuAction : menuBar.actions())
        if (QMenu* menu = menuAction->menu())
            for (QAction* action : menu->actions())
                action->setShortcutContext(Qt::WindowShortcut);
}

void MainWindowController::windowDidLoad()
{
    LOG_VERBOSE("Window did load.");
    validateCommonObjects();
    followEngine();
    placeholderContext()->replaceViewControllerWith(itemsSubviewController());
    // The bars observe the engine themselves from now on; the run so far
    // reaches them once.
    QList<Notification> run;
    {
        std::lock_guard lock(m_unshownRunMutex);
        run.swap(m_unshownRun);
        m_runShown = true;
    }
    m_runObservers.clear();
    if (MainBottomBarsController* bars = itemsSubviewController()->bottomBars())
        bars->catchUp(run);
    if (const std::optional<QVariantMap> end = std::exchange(m_unshownReadingEnd, std::nullopt))
        systemItemsReadingDidEnd(*end);
}

void MainWindowController::followEngine()
{
    if (m_followingEngine)
        return;
    m_followingEngine = true;
    // The engine posts from its own threads; the work is done on the main
    // thread, and not at all once this controller is gone.
    if (!isWindowLoaded()) {
        for (const QString& name : MainBottomBarsController::runNotificationNames())
            m_runObservers.push_back(notificationCenter().addObserver(name, nullptr, [this](const Notification& notification) {
                noteRunNotification(notification);
            }));
    }
    m_readSystemItemsDidEndObserver = notificationCenter().addObserver(
        MHSystemItemsNotifications::MHReadSystemItemsDidEndNotification, nullptr, [this](const Notification& notification) {
            QMetaObject::invokeMethod(this, [this, end = notification.userInfo] { systemItemsReadingDidEnd(end); }, Qt::QueuedConnection);
        });
    m_networkDataDidFetchObserver = notificationCenter().addObserver(
        MHInternalNotifications::MHInternalNotificationNetworkDataFetchDidComplete, nullptr, [this](const Notification&) {
            QMetaObject::invokeMethod(this, [this] { networkDataFetchDidComplete(); }, Qt::QueuedConnection);
        });
}

void MainWindowController::noteRunNotification(const Notification& notification)
{
    namespace N = MHExecuteNotifications;
    std::lock_guard lock(m_unshownRunMutex);
    if (m_runShown)
        return;
    const bool starts = notification.name == N::MHExecuteDelayDidStartNotification || notification.name == N::MHExecuteDidStartNotification;
    // A new run replaces what the window would have shown of the last one.
    if (starts && !m_unshownRunOpen)
        m_unshownRun.clear();
    if (starts)
        m_unshownRunOpen = true;
    else if (notification.name == N::MHExecuteDidEndNotification || notification.name == N::MHExecuteDidCancelNotification)
        m_unshownRunOpen = false;
    m_unshownRun.append(notification);
}

void MainWindowController::systemItemsReadingDidEnd(const QVariantMap& userInfo)
{
    if (!isWindowLoaded()) {
        m_unshownReadingEnd = userInfo;
        return;
    }
    const QVariantList items = userInfo.value(MHSystemItemsNotifications::items).toList();
    const QString readError = userInfo.value(MHSystemItemsNotifications::readError).toString();
    LOG_DEBUG("System items reading did end.");
    LOG_VERBOSE("Detected %1 new system items.", items.size());
    // A reading that failed has its page too: it says why entries may wait
    // unseen, and the button leads there instead of saying there are none.
    itemsSubviewController()->setIsAtLeastOneSystemItemAvailable(!items.isEmpty() || !readError.isEmpty());
    systemSubviewController()->setRepresentedObject(items);
    systemSubviewController()->setReadError(readError);
    if (items.isEmpty() && readError.isEmpty())
        switchToApplicationItemsView();
    else
        switchToSystemItemsView();
}

void MainWindowController::networkDataFetchDidComplete()
{
    // A page built later judges with the networks it finds then.
    if (!isWindowLoaded())
        return;
    LOG_DEBUG("Network fetch did finish.");
    itemsSubviewController()->updateContentAccordingToNetworkState();
}

void MainWindowController::switchToApplicationItemsView()
{
    LOG_NORMAL("Switching to application items view...");
    window()->setWindowTitle(helpers()->applicationName());
    placeholderContext()->slideViewControllerFromLeft(itemsSubviewController());
}

void MainWindowController::switchToSystemItemsView()
{
    LOG_NORMAL("Switching to system items view...");
    window()->setWindowTitle(localizator().windowText(Localizator::WindowText::SystemItems));
    placeholderContext()->slideViewControllerFromRight(systemSubviewController());
}

void MainWindowController::changeToLaunchSimulationMode(bool active)
{
    LOG_VERBOSE("Changing to %1 mode...", active ? QStringLiteral("simulation") : QStringLiteral("normal"));
    WindowControllerBase::changeToLaunchSimulationMode(active);
    // Retitled now rather than when its menu opens: a screen reader reads the
    // menu's items without opening it.
    if (m_simulationMenuItem)
        setMenuItemTitle(*m_simulationMenuItem, localizator().menuItemTitleForTogglinngSimulationMode(active));
    if (active) {
        LOG_DEBUG("Showing application items view due to entering simulation mode...");
        switchToApplicationItemsView();
    }
    itemsSubviewController()->changeToLaunchSimulationMode(active);
}

void MainWindowController::makeCurrentSubviewControllerFirstResponder()
{
    LOG_DEBUG("Making current subview controller as first responder...");
    if (ViewControllerBase* current = placeholderContext()->currentViewController())
        current->makeFirstResponder();
}

void MainWindowController::flagsChanged()
{
    LOG_DEBUG("Flags changed event detected, notifying items subview controller...");
    itemsSubviewController()->updateContentAccordingToModifierKeysState();
}

bool MainWindowController::eventFilter(QObject* watched, QEvent* event)
{
    const bool inWindow = watched->isWidgetType() && isWindowLoaded() && static_cast<QWidget*>(watched)->window() == window();
    if (inWindow && (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Shift:
        case Qt::Key_Control:
        case Qt::Key_Alt:
        case Qt::Key_Meta: {
            const auto* key = static_cast<QKeyEvent*>(event);
            const std::tuple<int, int, quint64> seen { int(event->type()), key->key(), key->timestamp() };
            if (seen != m_lastModifierKeyEvent && !key->isAutoRepeat()) {
                m_lastModifierKeyEvent = seen;
                flagsChanged();
            }
            break;
        }
        default:
            break;
        }
    }
    return WindowControllerBase::eventFilter(watched, event);
}

bool MainWindowController::respondsToCommand(const QString& command) const
{
    return command == CommandNames::switchToApplicationItemsView || command == CommandNames::switchToSystemItemsView
        || WindowControllerBase::respondsToCommand(command);
}

bool MainWindowController::validateCommand(const QString& command, QAction& item)
{
    if (command == CommandNames::switchToApplicationItemsView)
        return true;
    // Only while the last reading found new entries or failed.
    if (command == CommandNames::switchToSystemItemsView)
        return itemsSubviewController()->isAtLeastOneSystemItemAvailable();
    return WindowControllerBase::validateCommand(command, item);
}

void MainWindowController::performCommand(const QString& command)
{
    if (command == CommandNames::switchToApplicationItemsView)
        switchToApplicationItemsView();
    else if (command == CommandNames::switchToSystemItemsView)
        switchToSystemItemsView();
    else
        WindowControllerBase::performCommand(command);
}
