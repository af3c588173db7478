#include "ScreenshotWriter.h"

#include "foundation/Error.h"
#include "foundation/Log.h"
#include "foundation/MHExecuteNotifications.h"
#include "foundation/MHInternalNotifications.h"
#include "foundation/MHSystemItemsNotifications.h"
#include "foundation/NotificationCenter.h"
#include "foundation/UserDefaults.h"
#include "model/DBLoginItem.h"
#include "ui/base/PopoverFrame.h"
#include "ui/mainwindow/MainBottomBarsController.h"
#include "ui/mainwindow/ItemInspectorPopoverController.h"
#include "ui/mainwindow/MainDefaultBottomBarViewController.h"
#include "ui/mainwindow/MainSimulateBottomBarViewController.h"
#include "ui/views/LoginItemDelegate.h"
#include "ui/views/StatusLine.h"
#include "ui/base/AnimatedPlaceholderContext.h"
#include "ui/base/LoginItemsListModel.h"
#include "ui/mainwindow/MainItemsViewController.h"
#include "ui/mainwindow/MainSystemViewController.h"
#include "ui/mainwindow/MainWindowController.h"
#include "ui/mainwindow/SystemItemsListModel.h"
#include "ui/views/SystemItemDelegate.h"
#include "shell/ApplicationCommands.h"
#include "ui/preferences/PreferencesPane.h"
#include "ui/preferences/PreferencesWindowController.h"
#include "ui/views/CreditsView.h"
#include "ui/windows/AboutWindowController.h"
#include "ui/windows/ApplicationWindowControllers.h"
#include "ui/windows/FeedbackDialog.h"
#include "ui/windows/WelcomeWindowController.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QListView>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QVariantAnimation>

namespace {
// The pages and the window manager settle within this time once the first
// reading of the autostart list is in; a slow build may take long for that
// reading, but never longer than the last time.
constexpr int kSettleMs = 1000;
constexpr int kLongestWaitMs = 30000;
}

ScreenshotWriter::ScreenshotWriter(ApplicationWindowControllers& windows, QString folder)
    : m_windows(windows)
    , m_folder(std::move(folder))
{
    m_readToken = NotificationCenter::defaultCenter().addObserver(
        MHSystemItemsNotifications::MHReadSystemItemsDidEndNotification, nullptr, [this](const Notification&) {
            QMetaObject::invokeMethod(this, [this] { QTimer::singleShot(kSettleMs, this, &ScreenshotWriter::writeAll); }, Qt::QueuedConnection);
        });
    QTimer::singleShot(kLongestWaitMs, this, &ScreenshotWriter::writeAll);
}

void ScreenshotWriter::write(QWidget& widget, const QString& name)
{
    QApplication::processEvents();
    const QString path = QDir(m_folder).filePath(name + QStringLiteral(".png"));
    if (!widget.grab().save(path))
        LOG_ERROR("Failed writing screenshot %1!", path);
}

void ScreenshotWriter::writeAll()
{
    if (m_started)
        return;
    m_started = true;
    QDir().mkpath(m_folder);
    if (!m_windows.hasMainWindowController()) {
        LOG_ERROR("No main window to take screenshots of!");
        QCoreApplication::quit();
        return;
    }
    MainWindowController& controller = m_windows.mainWindowController();
    controller.showWindow();
    auto* window = static_cast<QMainWindow*>(controller.window());
    MainItemsViewController* items = controller.itemsSubviewController();
    controller.switchToApplicationItemsView();
    controller.placeholderContext()->finishSlide();
    items->itemsTableView()->setCurrentIndex(items->itemsModel()->index(1, 0));
    write(*window, QStringLiteral("main-window"));
    write(*items, QStringLiteral("items-page"));

    // The inspector of the first item, which uses several conditions.
    const QModelIndex first = items->itemsModel()->index(0, 0);
    items->showLoginItemInspector(first, items->itemsTableView()->visualRect(first));
    PopoverFrame* inspector = items->itemInspectors()->popover();
    QCoreApplication::processEvents();
    write(*inspector, QStringLiteral("item-inspector-popover"));
    inspector->hide();

    const QList<QAction*> menus = window->menuBar()->actions();
    for (QAction* menuAction : menus) {
        QMenu* menu = menuAction->menu();
        if (!menu)
            continue;
        menu->popup(window->mapToGlobal(window->menuBar()->actionGeometry(menuAction).bottomLeft()));
        write(*menu, QStringLiteral("menu-") + menu->objectName());
        menu->hide();
    }

    writeSystemItems(controller, *window);

    m_windows.statusMenu().popup(QPoint(40, 40));
    write(m_windows.statusMenu(), QStringLiteral("menu-status"));
    m_windows.statusMenu().hide();
    controller.switchToApplicationItemsView();
    controller.placeholderContext()->finishSlide();
    writeRun(*window, *items);
    writeSimulation(controller, *window, *items);
    writeSecondaryWindows();
    QCoreApplication::quit();
}

// The page with its first entry selected, and the popover of the second.
void ScreenshotWriter::writeSystemItems(MainWindowController& controller, QWidget& window)
{
    controller.switchToSystemItemsView();
    controller.placeholderContext()->finishSlide();
    MainSystemViewController* page = controller.systemSubviewController();
    page->selectRows({ 0 });
    write(window, QStringLiteral("system-items-page"));
    QListView* list = page->itemsTableView();
    const QModelIndex second = page->itemsModel()->index(1, 0);
    if (!second.isValid())
        return;
    QStyleOptionViewItem option;
    option.initFrom(list);
    option.rect = list->visualRect(second);
    page->showLoginItemInspector(second, page->itemDelegate()->framesForRow(option, second).actionButton.toRect());
    write(*page->itemInspectorPopover(), QStringLiteral("system-item-inspector-popover"));
    page->itemInspectorPopover()->hide();
}

void ScreenshotWriter::writeSecondaryWindows()
{
    PreferencesWindowController& preferences = m_windows.preferencesWindowController();
    preferences.showWindow();
    for (int index = 0; index < preferences.paneCount(); ++index) {
        preferences.selectControllerAtIndex(index);
        const QString name = QStringLiteral("preferences-") + preferences.paneAtIndex(index).identifier();
        write(*preferences.window(), name);
        // A pane with a list once more with its first row selected, which enables its commands.
        auto* list = preferences.paneAtIndex(index).paneViewController().findChild<QListView*>();
        if (list && list->model() && list->model()->rowCount() > 0) {
            list->setCurrentIndex(list->model()->index(0, 0));
            write(*preferences.window(), name + QStringLiteral("-selected"));
        }
    }
    preferences.close();

    m_windows.showWelcomeWindow();
    write(*m_windows.welcomeWindowController().window(), QStringLiteral("welcome-window"));
    m_windows.closeWelcomeWindow();

    m_windows.showAboutWindow();
    AboutWindowController& about = m_windows.aboutWindowController();
    // Part way through a pass, as the user sees it a few seconds after opening.
    about.creditsView().findChild<QVariantAnimation*>()->setCurrentTime(4000);
    write(*about.window(), QStringLiteral("about-window"));
    about.close();

    m_windows.showFeedbackDialog(QString());
    write(*m_windows.feedbackDialog(), QStringLiteral("feedback-dialog"));
    m_windows.feedbackDialog()->close();

    // The restore dialog is modal: it is taken once it is open, then cancelled.
    QTimer::singleShot(500, this, [this] {
        if (auto* dialog = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            write(*dialog, QStringLiteral("restore-dialog"));
            dialog->buttons().last()->click();
        }
    });
    m_windows.performCommand(ApplicationCommands::restoreDatabaseFromBackup);
}

void ScreenshotWriter::settle(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

// A run as the engine reports it: the first item launched, the third failed,
// the delay counting down; then the errors of the ended run.
void ScreenshotWriter::writeRun(QWidget& window, MainItemsViewController& items)
{
    namespace N = MHExecuteNotifications;
    NotificationCenter& center = items.notificationCenter();
    const auto item = [&](int row, double remaining = -1) {
        DBLoginItem* shown = items.itemAtIndex(row);
        QVariantMap info { { N::itemID, QVariant::fromValue(shown ? shown->objectID() : ObjectID()) },
                           { N::itemDisplayName, shown ? shown->itemNiceDisplayName() : QString() },
                           { N::itemType, shown ? int(shown->loginItemType()) : 0 } };
        if (remaining >= 0)
            info.insert(N::remainingTime, remaining);
        return info;
    };
    QVariantMap failure = item(2);
    failure.insert(N::error, QVariant::fromValue(Error(Error::lanternwickDomain(), 1, QStringLiteral("The file could not be opened."))));
    center.post(N::MHExecuteDelayDidStartNotification);
    center.post(N::MHExecuteDidStartNotification);
    center.post(N::MHExecuteDidStartItemNotification, nullptr, item(0));
    center.post(N::MHExecuteDidEndItemNotification, nullptr, item(0));
    center.post(N::MHExecuteDidStartItemNotification, nullptr, item(2));
    center.post(N::MHExecuteDidFailItemNotification, nullptr, failure);
    center.post(N::MHExecuteDidEndItemNotification, nullptr, item(2));
    center.post(N::MHExecuteDidStartItemNotification, nullptr, item(1, 4));
    QApplication::processEvents();
    items.bottomBars()->bottomBarPlaceholderContext()->finishSlide();
    // The status line and the rows show the last of a burst a moment later.
    settle(StatusLine::QuietMs + 200);
    write(window, QStringLiteral("run-in-progress"));

    center.post(N::MHExecuteDidEndItemNotification, nullptr, item(1));
    center.post(N::MHExecuteDidEndNotification);
    QApplication::processEvents();
    items.bottomBars()->bottomBarPlaceholderContext()->finishSlide();
    MainDefaultBottomBarViewController* defaultBar = items.bottomBars()->defaultBottomBarViewController();
    defaultBar->showLastExecutionErrors(defaultBar->errorsButton());
    write(*defaultBar->errorsInspectorPopover(), QStringLiteral("errors-popover"));
    defaultBar->errorsInspectorPopover()->hide();
}

// Shift held on battery: some items would run, others not, and the first
// row's badges do not all fit. Then the same in compact rows.
void ScreenshotWriter::writeSimulation(MainWindowController& controller, QWidget& window, MainItemsViewController& items)
{
    controller.changeToLaunchSimulationMode(true);
    QApplication::processEvents();
    MainSimulateBottomBarViewController* bar = items.bottomBars()->simulateBottomBarViewController();
    bar->setSimulatedShiftState(true);
    bar->setSimulatedPowerSource(PowerSourceTypeBattery);
    items.bottomBars()->bottomBarPlaceholderContext()->finishSlide();
    settle(LoginItemDelegate::StripAnimationMs + 200);
    write(window, QStringLiteral("simulation"));

    items.userDefaults().setItemsListsSize(1);
    items.notificationCenter().post(MHInternalNotifications::MHInternalNotificationItemsListsSizeDidChange);
    QApplication::processEvents();
    write(window, QStringLiteral("simulation-compact"));
    items.userDefaults().setItemsListsSize(0);
    controller.changeToLaunchSimulationMode(false);
}
