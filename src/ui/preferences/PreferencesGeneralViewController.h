#pragma once
// The General pane: whether Lanternwick is on, when the items run, the
// countdown before them, the pause between them and the quit after them,
// whether the main window opens at start,
// with a warning line derived from the combination. Each change is written
// straight to the settings, and only when the value really changed (the
// enabled setting starts a chain with every write).
#include "ui/base/ViewControllerBase.h"
#include "ui/preferences/PreferencesPane.h"

class DialogPresenter;
class ExplicitRangeSlider;
class LanternwickEnabledSwitch;
class QCheckBox;
class QLabel;
class UserDefaults;

class PreferencesGeneralViewController : public ViewControllerBase, public PreferencesPane {
    Q_OBJECT
public:
    // The stops of the sliders, in seconds.
    static const QList<double> delayBeforeExecutionStops;
    static const QList<double> delayBetweenItemsStops;
    static const QList<double> delayBeforeAutoCloseStops;

    explicit PreferencesGeneralViewController(QWidget* parent = nullptr);
    ~PreferencesGeneralViewController() override;

    QString identifier() const override { return QStringLiteral("GeneralPreferences"); }
    QIcon toolbarItemImage() const override;
    QString toolbarItemLabel() const override;
    ViewControllerBase& paneViewController() override { return *this; }

    // Null goes back to message boxes.
    void setDialogPresenter(DialogPresenter* presenter);

    bool isLanternwickEnabled() const;
    void setIsLanternwickEnabled(bool enabled);
    bool isExecutionAfterLaunchEnabled() const { return m_executionAfterLaunch; }
    void setIsExecutionAfterLaunchEnabled(bool enabled);
    bool isExecutionAfterAwakeFromSleepEnabled() const { return m_executionAfterWake; }
    void setIsExecutionAfterAwakeFromSleepEnabled(bool enabled);
    bool isAutoCloseEnabled() const { return m_autoClose; }
    void setIsAutoCloseEnabled(bool enabled);
    bool isDelayBeforeLaunchEnabled() const { return m_delayBeforeLaunchEnabled; }
    void setIsDelayBeforeLaunchEnabled(bool enabled);
    float delayBeforeLaunch() const { return m_delayBeforeLaunch; }
    void setDelayBeforeLaunch(float seconds);

    // Derived by updateUserInterfaceData().
    bool isExecutionAfterAwakeFromSleepAllowed() const { return m_executionAfterWakeAllowed; }
    bool isAtLeastOneExecutionOptionEnabled() const { return m_atLeastOneExecutionOption; }
    bool isWarningActive() const { return m_warningActive; }
    QString warningMessage() const { return m_warningMessage; }

    void showHelp();

protected:
    void awakeFromNib() override;

private:
    void updateUserInterfaceData();
    // Shows the properties in the controls, without sending their changes back.
    void updateControls();
    QCheckBox* addCheckBox(const QString& name, const QString& title);
    // The box writes the setting whenever the user toggles it.
    void connectSetting(QCheckBox* box, bool (UserDefaults::*get)() const, void (UserDefaults::*set)(bool));
    ExplicitRangeSlider* addSlider(const QString& name, const QString& title, const QList<double>& stops);

    LanternwickEnabledSwitch* m_enabledSwitch = nullptr;
    bool m_executionAfterLaunch = false;
    bool m_executionAfterWake = false;
    bool m_autoClose = false;
    bool m_delayBeforeLaunchEnabled = false;
    float m_delayBeforeLaunch = 0;
    bool m_executionAfterWakeAllowed = true;
    bool m_atLeastOneExecutionOption = true;
    bool m_warningActive = false;
    QString m_warningMessage;

    QCheckBox* m_enabledBox = nullptr;
    QCheckBox* m_afterLaunchBox = nullptr;
    QCheckBox* m_afterWakeBox = nullptr;
    QCheckBox* m_manualLaunchBox = nullptr;
    QCheckBox* m_delayBeforeLaunchBox = nullptr;
    ExplicitRangeSlider* m_delayBeforeLaunchSlider = nullptr;
    QCheckBox* m_delayBetweenItemsBox = nullptr;
    ExplicitRangeSlider* m_delayBetweenItemsSlider = nullptr;
    QCheckBox* m_autoCloseBox = nullptr;
    ExplicitRangeSlider* m_autoCloseSlider = nullptr;
    QCheckBox* m_mainWindowAtStartBox = nullptr;
    QLabel* m_warningLabel = nullptr;
};
