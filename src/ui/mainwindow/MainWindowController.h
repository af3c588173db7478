#pragma once
// The main window: the items page, or the system items page when reading the
// session's autostart list found new entries, in a sliding placeholder; the
// menu bar; the simulation mode, modifier keys and network scans passed on
// to the items page.
//
// The window is built when first shown. Until then the controller keeps
// what the window is to show once built: the engine's last run, so far as
// its bars show it, and the last reading of the session's list.
#include "foundation/NotificationCenter.h"
#include "ui/base/WindowControllerBase.h"

#include <QAction>
#include <QList>
#include <QPointer>
#include <QVariantList>
#include <memory>
#include <mutex>
#include <optional>
#include <tuple>
#include <vector>

class AnimatedPlaceholderContext;
class CommandDispatcher;
class MainItemsViewController;
class MainSystemViewController;
class QMainWindow;
class QMenuBar;

class MainWindowController : public WindowControllerBase {
    Q_OBJECT
public:
    explicit MainWindowController(QObject* parent = nullptr);
    ~MainWindowController() override;

    // The menus send their commands through it; set before the window loads.
    void setCommandDispatcher(CommandDispatcher* dispatcher) { m_dispatcher = dispatcher; }
    // Starts following the engine, also while the window is not built; once
    // the common objects and the notification centre are set.
    void followEngine();

    // Made on first access.
    MainItemsViewController* itemsSubviewController();
    MainSystemViewController* systemSubviewController();
    AnimatedPlaceholderContext* placeholderContext();

    void switchToApplicationItemsView();
    void switchToSystemItemsView();
    void changeToLaunchSimulationMode(bool active) override;
    void makeCurrentSubviewControllerFirstResponder();
    // A modifier key went down or up.
    void flagsChanged();

    bool respondsToCommand(const QString& command) const override;
    bool validateCommand(const QString& command, QAction& item) override;
    void performCommand(const QString& command) override;

protected:
    std::unique_ptr<QWidget> makeWindow() override;
    void windowDidLoad() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenuBar(QMenuBar& menuBar);
    // userInfo: the end notification of a reading.
    void systemItemsReadingDidEnd(const QVariantMap& userInfo);
    void networkDataFetchDidComplete();
    // Notes a notification of the engine's runs while there is no window to
    // show it; any thread.
    void noteRunNotification(const Notification& notification);

    CommandDispatcher* m_dispatcher = nullptr;
    // The last modifier-key event taken: a key event no widget accepts
    // passes the filter again at each parent it travels on to.
    std::tuple<int, int, quint64> m_lastModifierKeyEvent {};
    QWidget* m_placeholderView = nullptr;
    std::unique_ptr<MainItemsViewController> m_itemsSubviewController;
    std::unique_ptr<MainSystemViewController> m_systemSubviewController;
    // After the pages: it hands the shown page back before they go.
    std::unique_ptr<AnimatedPlaceholderContext> m_placeholderContext;
    QPointer<QAction> m_simulationMenuItem;
    bool m_followingEngine = false;
    // The last reading of the session's list while the window was not built.
    std::optional<QVariantMap> m_unshownReadingEnd;
    // The notifications of the last run while the window was not built.
    std::mutex m_unshownRunMutex;
    QList<Notification> m_unshownRun;
    bool m_unshownRunOpen = false;
    bool m_runShown = false;
    // Last: removed first, so that no handler is running while the rest goes.
    NotificationCenter::Token m_readSystemItemsDidEndObserver;
    NotificationCenter::Token m_networkDataDidFetchObserver;
    std::vector<NotificationCenter::Token> m_runObservers;
};
