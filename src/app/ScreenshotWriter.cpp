#include "ScreenshotWriter.h"

#include "foundation/Log.h"
#include "ui/base/AnimatedPlaceholderContext.h"
#include "ui/base/LoginItemsListModel.h"
#include "ui/mainwindow/MainItemsViewController.h"
#include "ui/mainwindow/MainWindowController.h"
#include "ui/windows/ApplicationWindowControllers.h"

#include <QApplication>
#include <QDir>
#include <QListView>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

namespace {
// Start-up, the first reading of the autostart list and the window manager
// settle within this time.
constexpr int kSettleMs = 3000;
}

ScreenshotWriter::ScreenshotWriter(ApplicationWindowControllers& windows, QString folder)
    : m_windows(windows)
    , m_folder(std::move(folder))
{
    QTimer::singleShot(kSettleMs, this, &ScreenshotWriter::writeAll);
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

    const QList<QAction*> menus = window->menuBar()->actions();
    for (QAction* menuAction : menus) {
        QMenu* menu = menuAction->menu();
        if (!menu)
            continue;
        menu->popup(window->mapToGlobal(window->menuBar()->actionGeometry(menuAction).bottomLeft()));
        write(*menu, QStringLiteral("menu-") + menu->objectName());
        menu->hide();
    }

    controller.switchToSystemItemsView();
    controller.placeholderContext()->finishSlide();
    write(*window, QStringLiteral("system-items-page"));
    QCoreApplication::quit();
}
