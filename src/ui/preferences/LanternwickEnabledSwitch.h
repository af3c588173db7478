#pragma once
// The enabled switch as the General pane and the welcome window show it: a
// copy of the setting that asks before switching Lanternwick off, writes the
// setting (which starts the enable or disable chain), tells the other
// windows, and follows changes made elsewhere.
#include "foundation/NotificationCenter.h"
#include "ui/base/MessageBoxDialogPresenter.h"

#include <QObject>

class LanternwickObject;

class LanternwickEnabledSwitch : public QObject {
    Q_OBJECT
public:
    // services gives the settings, texts and notification centre, and must
    // outlive the switch; outsideChangeLog is logged when another window
    // changed the setting.
    LanternwickEnabledSwitch(const LanternwickObject& services, QString outsideChangeLog, QObject* parent = nullptr);
    ~LanternwickEnabledSwitch() override;

    bool isLanternwickEnabled() const { return m_enabled; }
    // Switching off asks first, on the next pass of the event loop; a
    // refusal announces the unchanged value again, so the check box turns
    // back. Switching on before that cancels the question.
    void setIsLanternwickEnabled(bool enabled);

    // Null goes back to message boxes.
    void setDialogPresenter(DialogPresenter* presenter) { m_presenter = presenter; }

Q_SIGNALS:
    // The value changed or is announced again; the view reads it anew.
    void changed(bool enabled);

private:
    void enabledStatusDidChangeOutside();
    void confirmSwitchingOff();
    void store(bool enabled);

    const LanternwickObject& m_services;
    const QString m_outsideChangeLog;
    bool m_enabled;
    bool m_isSwitchingOffRequested = false;
    MessageBoxDialogPresenter m_messageBoxes;
    DialogPresenter* m_presenter = nullptr;
    NotificationCenter::Token m_enabledObserver;
};
