#include "ui/windows/DockAndStatusBarController.h"

#include "foundation/Log.h"
#include "foundation/MHExecuteNotifications.h"
#include "foundation/UserDefaults.h"
#include "ui/icons/IconsManager.h"

#include <QApplication>
#include <QMenu>
#include <QWidget>

namespace {

constexpr char16_t lightbulb = 0xf0eb;
constexpr char16_t playCircle = 0xf144;
constexpr char16_t clockGlyph = 0xf017;

QIcon glyphImage(char16_t glyph)
{
    return QIcon(IconsManager::sharedInstance().icon(glyph).colored(QApplication::palette().color(QPalette::WindowText)).image());
}

} // namespace

DockAndStatusBarController::DockAndStatusBarController(StatusBar& statusBar, QObject* parent)
    : QObject(parent)
    , m_statusBar(statusBar)
{
}

DockAndStatusBarController::~DockAndStatusBarController() = default;

void DockAndStatusBarController::initializeDockAndStatusBarWithMenu(QMenu* menu)
{
    LOG_DEBUG("Initializing dock and status bar according to user defaults...");
    m_statusMenu = menu;
    if (userDefaults().applicationRunMode() != 0)
        changeToMenubarMode();
    else
        changeToDockMode();
}

QMenu* DockAndStatusBarController::statusMenu() const
{
    return m_statusMenu;
}

void DockAndStatusBarController::changeToDockMode()
{
    LOG_INFO("Activating dock and main menu...");
    addDockIcon();
    removeStatusItem();
}

void DockAndStatusBarController::changeToMenubarMode()
{
    if (!m_statusBar.isAvailable()) {
        LOG_WARN("No system tray on this desktop, staying in the task bar...");
        changeToDockMode();
        return;
    }
    LOG_INFO("Changing to menu bar mode...");
    addStatusItem();
    removeDockIcon();
    activateApplication();
}

void DockAndStatusBarController::addDockIcon()
{
    LOG_VERBOSE("Adding dock icon...");
    // The task bar shows the windows themselves; there is no icon to add.
    if (m_dockTokens.empty())
        observe(m_dockTokens, false);
    activateApplication();
}

void DockAndStatusBarController::removeDockIcon()
{
    LOG_DEBUG("Removing dock icon...");
    m_dockTokens.clear();
}

void DockAndStatusBarController::addStatusItem()
{
    if (m_statusItem)
        return;
    LOG_VERBOSE("Adding status item...");
    if (m_menubarNormalImage.isNull()) {
        m_menubarNormalImage = glyphImage(lightbulb);
        m_menubarExecutingImage = glyphImage(playCircle);
        m_menubarAutoClosingImage = glyphImage(clockGlyph);
    }
    m_statusItem = m_statusBar.addStatusItem(m_menubarNormalImage, m_statusMenu);
    observe(m_statusItemTokens, true);
}

void DockAndStatusBarController::removeStatusItem()
{
    if (!m_statusItem)
        return;
    LOG_VERBOSE("Removing status item...");
    m_statusItemTokens.clear();
    m_statusItem.reset();
}

void DockAndStatusBarController::observe(Tokens& tokens, bool withAutoClose)
{
    NotificationCenter& center = notificationCenter();
    const auto add = [&](QLatin1String name, void (DockAndStatusBarController::*handler)()) {
        tokens.push_back(center.addObserver(name, nullptr, [this, handler](const Notification&) { (this->*handler)(); }));
    };
    add(MHExecuteNotifications::MHExecuteDelayDidStartNotification, &DockAndStatusBarController::prepareForExecutionDidStart);
    add(MHExecuteNotifications::MHExecuteDidStartNotification, &DockAndStatusBarController::prepareForExecutionDidStart);
    add(MHExecuteNotifications::MHExecuteDidEndNotification, &DockAndStatusBarController::prepareForExecutionDidEnd);
    add(MHExecuteNotifications::MHExecuteDidCancelNotification, &DockAndStatusBarController::prepareForExecutionDidEnd);
    if (withAutoClose) {
        add(MHExecuteNotifications::MHExecuteAutoCloseDidStartNotification, &DockAndStatusBarController::prepareForAutoCloseDidStart);
        add(MHExecuteNotifications::MHExecuteAutoCloseDidEndNotification, &DockAndStatusBarController::prepareForAutoCloseDidEnd);
    }
}

void DockAndStatusBarController::prepareForExecutionDidStart()
{
    LOG_DEBUG("Preparing menu bar for execution did start...");
    postImage(Image::Executing, true);
}

void DockAndStatusBarController::prepareForExecutionDidEnd()
{
    LOG_DEBUG("Preparing menu bar for execution did end...");
    postImage(Image::Normal, true);
}

void DockAndStatusBarController::prepareForAutoCloseDidStart()
{
    LOG_DEBUG("Preparing menu bar for auto close did start...");
    postImage(Image::AutoClosing, false);
}

void DockAndStatusBarController::prepareForAutoCloseDidEnd()
{
    LOG_DEBUG("Preparing menu bar for auto close did end...");
    postImage(Image::Normal, false);
}

void DockAndStatusBarController::postImage(Image image, bool onlyInMenubarMode)
{
    // Queued to this object: dropped when the controller is gone by then.
    QMetaObject::invokeMethod(
        this,
        [this, image, onlyInMenubarMode] {
            if (onlyInMenubarMode && userDefaults().applicationRunMode() == 0)
                return;
            if (m_statusItem)
                m_statusItem->setImage(imageFor(image));
        },
        Qt::QueuedConnection);
}

QIcon DockAndStatusBarController::imageFor(Image image) const
{
    switch (image) {
    case Image::Executing:
        return m_menubarExecutingImage;
    case Image::AutoClosing:
        return m_menubarAutoClosingImage;
    case Image::Normal:
        break;
    }
    return m_menubarNormalImage;
}

void DockAndStatusBarController::activateApplication()
{
    const QList<QWidget*> windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (window->isWindow() && window->isVisible() && !qobject_cast<QMenu*>(window)) {
            window->raise();
            window->activateWindow();
            return;
        }
    }
}
