#pragma once
// Follows, for the items page, the engine's runs and the launch simulation:
// which bottom bar shows, which items are executing, the errors of the last
// run, and the snapshot the rows are judged against (a live one during a
// countdown and a run when the settings allow it, the simulation bar's in
// simulation mode). The page owns it and shows its rows as it says.
//
// The engine posts from its own threads; every handler runs later on the main
// thread, and never after this object is gone.
#include "foundation/NotificationCenter.h"
#include "model/ObjectID.h"
#include "texts/LanternwickObject.h"
#include "ui/base/CommonObjects.h"

#include <QHash>
#include <QObject>
#include <memory>
#include <vector>

class AnimatedPlaceholderContext;
class ExecutionValidationParameters;
class MainAutoCloseBottomBarViewController;
class MainDefaultBottomBarViewController;
class MainExecuteBottomBarViewController;
class MainSimulateBottomBarViewController;
class QWidget;
class ViewControllerBase;

class MainBottomBarsController : public QObject, public LanternwickObject {
    Q_OBJECT
public:
    // The bars are children of placeholderView, made now with the common
    // objects and the texts, settings and notification centre of owner.
    MainBottomBarsController(const CommonObjects& common, const LanternwickObject& owner, QWidget* placeholderView,
                             QObject* parent = nullptr);
    ~MainBottomBarsController() override;

    MainDefaultBottomBarViewController* defaultBottomBarViewController() const { return m_defaultBar.get(); }
    MainExecuteBottomBarViewController* executeBottomBarViewController() const { return m_executeBar.get(); }
    MainAutoCloseBottomBarViewController* autoCloseBottomBarViewController() const { return m_autoCloseBar.get(); }
    // Made and loaded when simulation mode is first entered.
    MainSimulateBottomBarViewController* simulateBottomBarViewController();
    AnimatedPlaceholderContext* bottomBarPlaceholderContext() const { return m_placeholderContext.get(); }
    ViewControllerBase* currentBottomBar() const;

    // A countdown or run is going on: from its first start notification to
    // its end or cancellation.
    bool isExecutionInProgress() const { return m_executionInProgress; }
    const std::shared_ptr<ExecutionValidationParameters>& launchParameters() const { return m_launchParameters; }
    const std::shared_ptr<ExecutionValidationParameters>& launchSimulationParameters() const { return m_simulationParameters; }
    bool isLaunchSimulationModeActive() const { return m_simulationModeActive; }
    // What the rows show now: the status display, and the snapshot to judge
    // against (may be null while the display is on: nothing judged yet).
    bool isStatusDisplayOn() const { return m_launchParameters || m_simulationModeActive; }
    std::shared_ptr<ExecutionValidationParameters> rowParameters() const;

    // Brings the bars up to date with the engine's notifications of the run
    // they were made after, in the order they were posted.
    void catchUp(const QList<Notification>& notifications);
    // The notifications catchUp() takes.
    static QStringList runNotificationNames();

    void changeToLaunchSimulationMode(bool active);
    // A change of the keyboard's modifier keys.
    void updateContentAccordingToModifierKeysState();
    // A network scan has ended.
    void updateContentAccordingToNetworkState();

Q_SIGNALS:
    // A run begins (its first start notification).
    void executionDidStart();
    void itemExecutionChanged(const ObjectID& item, bool executing);
    // The run ended or was cancelled: no item is executing any more.
    void executionDidEnd();
    // The rows are to be judged again (isStatusDisplayOn(), rowParameters()).
    void rowParametersChanged();

private:
    using Handler = void (MainBottomBarsController::*)(const Notification&);
    static const QHash<QString, Handler>& runHandlers();
    void prepareForExecution(const Notification& notification);
    void prepareForAutoClose(const Notification& notification);
    void cleanupAfterExecution(const Notification& notification);
    void cleanupAfterCancellingExecution(const Notification& notification);
    void itemExecutionDidStart(const Notification& notification);
    void itemExecutionDidEnd(const Notification& notification);
    void itemExecutionDidFail(const Notification& notification);
    void launchSimulationParametersDidChange(const Notification& notification);
    void dataDidSaveToDisk(const Notification& notification);
    void autoCloseSettingChanged(const QString& keyPath);

    void setupLaunchParameters();
    void cleanupLaunchParameters();
    void updateLaunchParametersAndUserInterface();
    void endRunDisplay();
    // The default bar, or the simulation bar in simulation mode.
    void slideInRestingBar();
    // Hands the common objects and shared services on to a new bar.
    void setUpBar(ViewControllerBase& bar) const;

    const CommonObjects m_common;
    // The bars move in and out of the placeholder, so they are owned here;
    // the context comes after them and hands its bar back first.
    std::unique_ptr<MainDefaultBottomBarViewController> m_defaultBar;
    std::unique_ptr<MainExecuteBottomBarViewController> m_executeBar;
    std::unique_ptr<MainAutoCloseBottomBarViewController> m_autoCloseBar;
    std::unique_ptr<MainSimulateBottomBarViewController> m_simulateBar;
    std::unique_ptr<AnimatedPlaceholderContext> m_placeholderContext;

    bool m_executionInProgress = false;
    // The run ended with an auto close planned, which has not started yet.
    bool m_waitingForAutoClose = false;
    bool m_simulationModeActive = false;
    std::shared_ptr<ExecutionValidationParameters> m_launchParameters;
    std::shared_ptr<ExecutionValidationParameters> m_simulationParameters;
    // Last: removed first, so that no handler outlives this object.
    std::vector<NotificationCenter::Token> m_observers;
};
