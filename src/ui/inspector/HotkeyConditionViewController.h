#pragma once
// The editor of a hotkey condition: the modifier key (Control, Alt, Shift,
// Super) that must be held, or must not be held, at login. There is no key
// capture; the key is picked from a list in which the keys other hotkey
// conditions use are disabled. Where keys are seen only while a window of
// ours has the keyboard (Wayland), a note says so.
#include "model/ModelEnumerations.h"
#include "ui/inspector/ExclusiveChoiceConditionViewController.h"

class HotkeyConditionViewController : public ExclusiveChoiceConditionViewController {
    Q_OBJECT
public:
    HotkeyConditionViewController();

    bool isControlHotkeyAllowed() const { return isChoiceAllowed(HotkeyCombinationControl); }
    bool isOptionHotkeyAllowed() const { return isChoiceAllowed(HotkeyCombinationOption); }
    bool isShiftHotkeyAllowed() const { return isChoiceAllowed(HotkeyCombinationShift); }
    bool isCommandHotkeyAllowed() const { return isChoiceAllowed(HotkeyCombinationCommand); }
    void updateHotkeyCombinationAllowedStatuses() override { updateAllowedChoices(); }

    ChoicePopUpButton* conditionHotkeyView() const { return choiceView(); }
    ChoicePopUpButton* conditionStatusView() const { return m_conditionStatusView; }

protected:
    void awakeFromNib() override;
    int32_t judgedChoiceOfCondition(const DBStartupCondition& condition) const override;
    bool storeChoice(DBStartupCondition& condition, int32_t value) override;
    void updateShownValues() override;
    QStringList observedKeyPaths() const override;

private:
    void hotkeyStatusChanged(const QVariant& value);

    ChoicePopUpButton* m_conditionStatusView = nullptr;
};
