#include "ui/inspector/HotkeyConditionViewController.h"

#include "foundation/Log.h"
#include "foundation/MHInternalNotifications.h"
#include "model/DBHotkeyConditionData.h"
#include "model/DBStartupCondition.h"
#include "platform/ModifierKeysProvider.h"
#include "shell/ApplicationHelpers.h"
#include "shell/ModelEditing.h"
#include "ui/views/ChoicePopUpButton.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

const QString kHotkeyCombination = QStringLiteral("conditionHotkeyData.hotkeyCombination");
const QString kHotkeyStatus = QStringLiteral("conditionHotkeyData.hotkeyStatus");

} // namespace

HotkeyConditionViewController::HotkeyConditionViewController()
    : ExclusiveChoiceConditionViewController({ StartupConditionTypeHotkey,
                                               MHInternalNotifications::MHInternalNotificationHotkeyCombinationDidChange,
                                               tr("Allowed when"),
                                               QStringLiteral("conditionHotkeyView"),
                                               tr("Modifier key"),
                                               kHotkeyCombination,
                                               { { tr("Control"), HotkeyCombinationControl },
                                                 { tr("Alt"), HotkeyCombinationOption },
                                                 { tr("Shift"), HotkeyCombinationShift },
                                                 { tr("Super"), HotkeyCombinationCommand } } })
{
    setObjectName(QStringLiteral("hotkeyConditionView"));
}

void HotkeyConditionViewController::awakeFromNib()
{
    ExclusiveChoiceConditionViewController::awakeFromNib();
    m_conditionStatusView = new ChoicePopUpButton(QStringLiteral("conditionStatusView"), tr("Key state"));
    m_conditionStatusView->addChoice(tr("is held"), HotkeyStatusPressed);
    m_conditionStatusView->addChoice(tr("is not held"), HotkeyStatusNotPressed);
    m_conditionStatusView->setPlaceholderText(tr("Unknown"));
    controlsLayout()->addWidget(m_conditionStatusView);
    controlsLayout()->addStretch(1);
    connect(m_conditionStatusView, &ChoicePopUpButton::valueChosen, this, &HotkeyConditionViewController::hotkeyStatusChanged);
    if (helpers() && helpers()->modifierKeysProvider().seesKeysOnlyWithFocus()) {
        auto* note = new QLabel(tr("On Wayland, held keys are seen only while Lanternwick's window is in front."));
        note->setObjectName(QStringLiteral("keysSeenWithFocusNote"));
        note->setWordWrap(true);
        note->setContentsMargins(28, 0, 6, 4);
        contentLayout()->addWidget(note);
    }
    updateShownValues();
}

int32_t HotkeyConditionViewController::judgedChoiceOfCondition(const DBStartupCondition& condition) const
{
    const DBHotkeyConditionData* data = condition.conditionHotkeyData();
    if (!data)
        return -1;
    const int32_t combination = data->hotkeyCombinationValue();
    if (combination >= HotkeyCombinationControl && combination <= HotkeyCombinationCommand)
        return combination;
    // As the rules judge it.
    LOG_WARN("Unknown hotkey combination %1 of %2, counted as Option!", combination, &condition);
    return HotkeyCombinationOption;
}

bool HotkeyConditionViewController::storeChoice(DBStartupCondition& condition, int32_t value)
{
    return editing()->setHotkeyCombination(&condition, value);
}

QStringList HotkeyConditionViewController::observedKeyPaths() const
{
    return { kHotkeyStatus };
}

void HotkeyConditionViewController::updateShownValues()
{
    ExclusiveChoiceConditionViewController::updateShownValues();
    if (!m_conditionStatusView)
        return;
    const DBStartupCondition* shown = condition();
    const DBHotkeyConditionData* data = shown ? shown->conditionHotkeyData() : nullptr;
    // The rules take any status but "not held" for "held".
    m_conditionStatusView->showValue(data ? QVariant(data->hotkeyStatusValue() == HotkeyStatusNotPressed ? HotkeyStatusNotPressed
                                                                                                          : HotkeyStatusPressed)
                                          : QVariant());
}

void HotkeyConditionViewController::hotkeyStatusChanged(const QVariant& value)
{
    DBStartupCondition* shown = condition();
    if (!shown)
        return;
    LOG_NORMAL("Changing the hotkey status of %1 to %2...", shown, value.toInt());
    saveAfterUserChange(editing()->setHotkeyStatus(shown, value.toInt()));
}
