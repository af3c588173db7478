// The hotkey and power-source editors: choices other conditions of the same
// kind use are disabled in every editor, through the user's changes, undo
// and redo; stored values outside their enumerations are shown as the rules
// judge them and never written back.
#include "ConditionEditorTestCase.h"
#include "model/DBHotkeyConditionData.h"
#include "model/DBPowerSourceConditionData.h"
#include "platform/fake/FakeModifierKeysProvider.h"
#include "ui/inspector/HotkeyConditionViewController.h"
#include "ui/inspector/ItemInspectorViewController.h"
#include "ui/inspector/PowerSourceConditionViewController.h"

#include <QLabel>

namespace {

class HotkeyAndPowerSourceEditorsTest : public ConditionEditorTestCase {
protected:
    DBStartupCondition* hotkey(int32_t combination, const QString& name)
    {
        DBStartupCondition* condition = editing->createHotkeyStartupConditionAtIndex(100);
        condition->conditionHotkeyData()->setHotkeyCombinationValue(combination);
        condition->setConditionName(name);
        return condition;
    }

    DBStartupCondition* powerSource(int32_t type, const QString& name)
    {
        DBStartupCondition* condition = editing->createPowerSourceStartupConditionAtIndex(100);
        condition->conditionPowerSourceData()->setPowerSourceTypeValue(type);
        condition->setConditionName(name);
        return condition;
    }

    // The allowed keys, which are also the enabled entries of the list.
    static QString allowedKeys(const HotkeyConditionViewController& editor)
    {
        QStringList keys;
        const QList<std::tuple<int32_t, bool, QString>> flags { { HotkeyCombinationControl, editor.isControlHotkeyAllowed(), "Control" },
                                                                { HotkeyCombinationOption, editor.isOptionHotkeyAllowed(), "Alt" },
                                                                { HotkeyCombinationShift, editor.isShiftHotkeyAllowed(), "Shift" },
                                                                { HotkeyCombinationCommand, editor.isCommandHotkeyAllowed(), "Super" } };
        for (const auto& [value, allowed, key] : flags) {
            EXPECT_EQ(editor.conditionHotkeyView()->isChoiceEnabled(value), allowed) << key.toStdString();
            if (allowed)
                keys << key;
        }
        return keys.join(' ');
    }
};

TEST_F(HotkeyAndPowerSourceEditorsTest, KeysOfOtherHotkeyConditionsAreDisabledInEveryEditor)
{
    DBStartupCondition* control = hotkey(HotkeyCombinationControl, "Hold Control");
    DBStartupCondition* shift = hotkey(HotkeyCombinationShift, "Hold Shift");
    auto controlEditor = editorFor<HotkeyConditionViewController>(control);
    auto shiftEditor = editorFor<HotkeyConditionViewController>(shift);
    startFresh();
    EXPECT_EQ(allowedKeys(*controlEditor), "Control Alt Super") << "its own key stays enabled";
    EXPECT_EQ(allowedKeys(*shiftEditor), "Alt Shift Super");
    EXPECT_EQ(controlEditor->conditionHotkeyView()->currentText(), "Control");

    choose(controlEditor->conditionHotkeyView(), HotkeyCombinationOption);
    EXPECT_EQ(control->conditionHotkeyData()->hotkeyCombinationValue(), HotkeyCombinationOption);
    EXPECT_EQ(allowedKeys(*shiftEditor), "Control Shift Super") << "at once, in the other editor";
    EXPECT_EQ(allowedKeys(*controlEditor), "Control Alt Super");
    expectOneStep("Change Hotkey Combination For Hold Control");

    undo().undo();
    EXPECT_EQ(controlEditor->conditionHotkeyView()->currentText(), "Control");
    EXPECT_EQ(allowedKeys(*shiftEditor), "Alt Shift Super");
    undo().redo();
    EXPECT_EQ(allowedKeys(*shiftEditor), "Control Shift Super");
    EXPECT_EQ(controlEditor->conditionHotkeyView()->currentText(), "Alt");
}

// Wayland tells the held keys only to the window that has the keyboard: the
// editor says so where that is the case, and only there.
TEST_F(HotkeyAndPowerSourceEditorsTest, TheEditorNotesWhereKeysAreSeenOnlyWithTheWindowInFront)
{
    DBStartupCondition* control = hotkey(HotkeyCombinationControl, "Hold Control");
    const auto keys = std::make_shared<FakeModifierKeysProvider>();
    helpers->setModifierKeysProvider(keys);
    EXPECT_EQ(editorFor<HotkeyConditionViewController>(control)->findChild<QLabel*>("keysSeenWithFocusNote"), nullptr);

    keys->setSeesKeysOnlyWithFocus(true);
    auto editor = editorFor<HotkeyConditionViewController>(control);
    const QLabel* note = editor->findChild<QLabel*>("keysSeenWithFocusNote");
    ASSERT_NE(note, nullptr);
    EXPECT_TRUE(note->isVisibleTo(editor.get()));
    EXPECT_EQ(note->text(), "On Wayland, held keys are seen only while Lanternwick's window is in front.");
}

TEST_F(HotkeyAndPowerSourceEditorsTest, AKeyInUseCannotBePickedTwice)
{
    DBStartupCondition* control = hotkey(HotkeyCombinationControl, "A");
    hotkey(HotkeyCombinationShift, "B");
    auto editor = editorFor<HotkeyConditionViewController>(control);
    startFresh();
    ChoicePopUpButton* keys = editor->conditionHotkeyView();
    keys->setCurrentIndex(keys->findData(HotkeyCombinationShift));
    EXPECT_EQ(control->conditionHotkeyData()->hotkeyCombinationValue(), HotkeyCombinationControl);
    EXPECT_EQ(keys->currentText(), "Control") << "the list shows the stored key again";
    expectNoStep();
}

TEST_F(HotkeyAndPowerSourceEditorsTest, TheInspectorRefreshesTheFlagsWhenConditionsComeAndGo)
{
    DBStartupCondition* control = hotkey(HotkeyCombinationControl, "A");
    DBStartupCondition* shift = hotkey(HotkeyCombinationShift, "B");
    ItemInspectorViewController inspector;
    inspector.setCommonObjects(common);
    inspector.loadView();
    auto* controlEditor = dynamic_cast<HotkeyConditionViewController*>(inspector.conditionViewControllerForCondition(control));
    ASSERT_NE(controlEditor, nullptr);
    EXPECT_EQ(allowedKeys(*controlEditor), "Control Alt Super");
    startFresh();
    editing->deleteStartupConditions({ shift });
    context->processPendingChanges();
    QCoreApplication::processEvents();
    EXPECT_EQ(allowedKeys(*controlEditor), "Control Alt Shift Super");
    undo().undo();
    context->processPendingChanges();
    QCoreApplication::processEvents();
    EXPECT_EQ(allowedKeys(*controlEditor), "Control Alt Super");
}

TEST_F(HotkeyAndPowerSourceEditorsTest, TheKeyStateIsOneNamedStep)
{
    DBStartupCondition* condition = hotkey(HotkeyCombinationShift, "Hold Shift");
    auto editor = editorFor<HotkeyConditionViewController>(condition);
    startFresh();
    EXPECT_EQ(editor->conditionStatusView()->shownValue(), QVariant(HotkeyStatusPressed));
    choose(editor->conditionStatusView(), HotkeyStatusNotPressed);
    EXPECT_EQ(condition->conditionHotkeyData()->hotkeyStatusValue(), HotkeyStatusNotPressed);
    expectOneStep("Change Hotkey Status For Hold Shift");
    undo().undo();
    EXPECT_EQ(editor->conditionStatusView()->shownValue(), QVariant(HotkeyStatusPressed));
}

TEST_F(HotkeyAndPowerSourceEditorsTest, PowerSourcesOfOtherConditionsAreDisabled)
{
    DBStartupCondition* first = powerSource(PowerSourceTypePowerSupply, "Plugged in");
    auto firstEditor = editorFor<PowerSourceConditionViewController>(first);
    EXPECT_TRUE(firstEditor->isPowerSupplyAllowed());
    EXPECT_TRUE(firstEditor->isBatteryPoweredAllowed()) << "alone, either source may be picked";

    DBStartupCondition* second = powerSource(PowerSourceTypeBattery, "On battery");
    auto secondEditor = editorFor<PowerSourceConditionViewController>(second);
    firstEditor->updatePowerSourceCombinationAllowedStatuses();
    EXPECT_TRUE(firstEditor->isPowerSupplyAllowed());
    EXPECT_FALSE(firstEditor->isBatteryPoweredAllowed());
    EXPECT_FALSE(secondEditor->isPowerSupplyAllowed());
    EXPECT_TRUE(secondEditor->isBatteryPoweredAllowed());
    EXPECT_FALSE(secondEditor->powerSourceSelectionView()->isChoiceEnabled(PowerSourceTypePowerSupply));

    editing->deleteStartupConditions({ first });
    startFresh();
    secondEditor->updatePowerSourceCombinationAllowedStatuses();
    choose(secondEditor->powerSourceSelectionView(), PowerSourceTypePowerSupply);
    EXPECT_EQ(second->conditionPowerSourceData()->powerSourceTypeValue(), PowerSourceTypePowerSupply);
    expectOneStep("Change Power Source For On battery");
}

TEST_F(HotkeyAndPowerSourceEditorsTest, StoredValuesOutsideTheirEnumerationsAreShownAsJudgedAndNeverWritten)
{
    DBStartupCondition* odd = hotkey(7, "Odd key");
    DBStartupCondition* control = hotkey(HotkeyCombinationControl, "Control");
    DBStartupCondition* oddSource = powerSource(5, "Odd source");
    DBStartupCondition* battery = powerSource(PowerSourceTypeBattery, "Battery");
    auto oddEditor = editorFor<HotkeyConditionViewController>(odd);
    auto controlEditor = editorFor<HotkeyConditionViewController>(control);
    auto oddSourceEditor = editorFor<PowerSourceConditionViewController>(oddSource);
    auto batteryEditor = editorFor<PowerSourceConditionViewController>(battery);
    startFresh();

    // The rules take an unknown key for Alt, and an unknown source for none.
    EXPECT_EQ(oddEditor->conditionHotkeyView()->currentText(), "Alt");
    EXPECT_EQ(allowedKeys(*controlEditor), "Control Shift Super");
    EXPECT_EQ(oddSourceEditor->powerSourceSelectionView()->currentIndex(), -1);
    EXPECT_TRUE(batteryEditor->isPowerSupplyAllowed());
    EXPECT_FALSE(oddSourceEditor->isBatteryPoweredAllowed());
    EXPECT_EQ(odd->conditionHotkeyData()->hotkeyCombinationValue(), 7);
    EXPECT_EQ(oddSource->conditionPowerSourceData()->powerSourceTypeValue(), 5);
    expectNoStep();
}

} // namespace
