#pragma once
// How Lanternwick shows itself: in the task bar like any program (run mode 0)
// or as an icon in the system tray whose menu is the application's menu
// (run mode 1). While the tray icon exists its image follows the engine:
// idle, launching items, counting down to the quit. The images are drawn
// with the first tray icon: the task bar never pays for them.
//
// The task bar's observations and the tray's are kept apart, so that
// leaving one mode never silences the other. Engine notifications arrive
// on the engine's queues; the image changes on the main thread, and never
// after this controller is gone.
#include "foundation/NotificationCenter.h"
#include "texts/LanternwickObject.h"
#include "ui/windows/StatusBar.h"

#include <QIcon>
#include <QObject>
#include <QPointer>
#include <vector>

class QMenu;

class DockAndStatusBarController : public QObject, public LanternwickObject {
    Q_OBJECT
public:
    // statusBar must outlive the controller.
    explicit DockAndStatusBarController(StatusBar& statusBar, QObject* parent = nullptr);
    ~DockAndStatusBarController() override;

    // Keeps the menu of the tray icon, then applies the stored run mode: the
    // tray when it is chosen and the desktop has one, else the task bar.
    void initializeDockAndStatusBarWithMenu(QMenu* menu);
    QMenu* statusMenu() const;

    void changeToDockMode();
    void changeToMenubarMode();
    bool isTrayAvailable() const { return m_statusBar.isAvailable(); }

    void addDockIcon();
    void removeDockIcon();
    void addStatusItem();
    void removeStatusItem();
    StatusItem* statusItem() const { return m_statusItem.get(); }

    // Null until a tray icon was first added.
    QIcon menubarNormalImage() const { return m_menubarNormalImage; }
    QIcon menubarExecutingImage() const { return m_menubarExecutingImage; }
    QIcon menubarAutoClosingImage() const { return m_menubarAutoClosingImage; }

private:
    enum class Image { Normal, Executing, AutoClosing };
    using Tokens = std::vector<NotificationCenter::Token>;
    void observe(Tokens& tokens, bool withAutoClose);
    void prepareForExecutionDidStart();
    void prepareForExecutionDidEnd();
    void prepareForAutoCloseDidStart();
    void prepareForAutoCloseDidEnd();
    // Sets the image on the main thread; onlyInMenubarMode checks the stored
    // run mode there.
    void postImage(Image image, bool onlyInMenubarMode);
    QIcon imageFor(Image image) const;
    void activateApplication();

    StatusBar& m_statusBar;
    QPointer<QMenu> m_statusMenu;
    QIcon m_menubarNormalImage;
    QIcon m_menubarExecutingImage;
    QIcon m_menubarAutoClosingImage;
    std::unique_ptr<StatusItem> m_statusItem;
    Tokens m_dockTokens;
    Tokens m_statusItemTokens;
};
