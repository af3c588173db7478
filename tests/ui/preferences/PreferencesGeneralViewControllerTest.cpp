// The General pane: what each control writes (and that it writes nothing
// for an unchanged value), the confirmation before switching off with its
// rollback, the warning line at its boundaries and which boxes are usable.
#include "support/AccessibleControls.h"
#include "support/PaneTest.h"

#include "foundation/MHInternalNotifications.h"
#include "ui/preferences/PreferencesGeneralViewController.h"
#include "ui/views/ExplicitRangeSlider.h"

#include <QCheckBox>
#include <QLabel>
#include <QSignalSpy>
#include <QSlider>
#include <QToolButton>

namespace {

class PreferencesGeneralTest : public PaneTest {
protected:
    PreferencesGeneralViewController& loadPane()
    {
        pane = std::make_unique<PreferencesGeneralViewController>();
        equip(*pane);
        pane->loadView();
        pane->setDialogPresenter(&dialogs);
        return *pane;
    }
    QCheckBox* box(const char* name) const { return pane->findChild<QCheckBox*>(name); }
    QLabel* warning() const { return pane->findChild<QLabel*>("warningLabel"); }

    std::unique_ptr<PreferencesGeneralViewController> pane;
};

struct SetterCase {
    const char* name;
    std::function<void(PreferencesGeneralViewController&, bool)> set;
    std::function<bool(const UserDefaults&)> stored;
};

TEST_F(PreferencesGeneralTest, EachSetterWritesItsSettingOnceAndNothingForTheSameValue)
{
    const QList<SetterCase> cases {
        { "after launch", [](auto& p, bool v) { p.setIsExecutionAfterLaunchEnabled(v); },
          [](const UserDefaults& s) { return s.isItemsExecutionAfterLaunchEnabled(); } },
        { "after wake", [](auto& p, bool v) { p.setIsExecutionAfterAwakeFromSleepEnabled(v); },
          [](const UserDefaults& s) { return s.isItemsExecutionAfterAwakingFromSleepEnabled(); } },
        { "auto close", [](auto& p, bool v) { p.setIsAutoCloseEnabled(v); },
          [](const UserDefaults& s) { return s.isAutoCloseAfterItemsExecutionEnabled(); } },
        { "delay enabled", [](auto& p, bool v) { p.setIsDelayBeforeLaunchEnabled(v); },
          [](const UserDefaults& s) { return s.isDelayBeforeItemsExecutionEnabled(); } },
    };
    for (const SetterCase& setter : cases) {
        SCOPED_TRACE(setter.name);
        loadPane();
        const bool initial = setter.stored(*settings);
        QSignalSpy writes(settings.get(), &UserDefaults::changed);
        setter.set(*pane, initial);
        EXPECT_EQ(writes.count(), 0);
        setter.set(*pane, !initial);
        EXPECT_EQ(writes.count(), 1);
        EXPECT_EQ(setter.stored(*settings), !initial);
    }

    loadPane();
    QSignalSpy writes(settings.get(), &UserDefaults::changed);
    pane->setDelayBeforeLaunch(settings->delayBeforeItemsExecution());
    EXPECT_EQ(writes.count(), 0);
    pane->findChild<QSlider*>("delayBeforeLaunchSliderControl")->setValue(7);
    EXPECT_EQ(writes.count(), 1);
    EXPECT_EQ(settings->delayBeforeItemsExecution(), 60.0f);
    EXPECT_EQ(pane->delayBeforeLaunch(), 60.0f);
}

TEST_F(PreferencesGeneralTest, TheCheckBoxesDriveTheSetters)
{
    loadPane();
    settings->setIsItemsExecutionAfterAwakingFromSleepEnabled(false);
    settings->setIsAutoCloseAfterItemsExecutionEnabled(false);
    loadPane();
    box("executionAfterWakeCheckBox")->click();
    EXPECT_TRUE(settings->isItemsExecutionAfterAwakingFromSleepEnabled());
    box("autoCloseCheckBox")->click();
    EXPECT_TRUE(settings->isAutoCloseAfterItemsExecutionEnabled());

    // The settings of the start that had no control before.
    const bool manual = settings->isItemsExecutionOnManualLaunchEnabled();
    const bool mainWindow = settings->showMainWindowAfterLaunch();
    EXPECT_EQ(box("executionOnManualLaunchCheckBox")->isChecked(), manual);
    EXPECT_EQ(box("showMainWindowAfterLaunchCheckBox")->isChecked(), mainWindow);
    box("executionOnManualLaunchCheckBox")->click();
    box("showMainWindowAfterLaunchCheckBox")->click();
    EXPECT_EQ(settings->isItemsExecutionOnManualLaunchEnabled(), !manual);
    EXPECT_EQ(settings->showMainWindowAfterLaunch(), !mainWindow);
}

TEST_F(PreferencesGeneralTest, DecliningTheDisableDialogKeepsItOnAndTurnsTheBoxBack)
{
    loadPane();
    int posts = 0;
    auto token = center.addObserver(MHInternalNotifications::MHInternalNotificationLanternwickEnabledStatusDidChanged, nullptr,
                                    [&](const Notification&) { ++posts; });
    dialogs.nextButton = 1;
    QSignalSpy writes(settings.get(), &UserDefaults::changed);
    box("enabledCheckBox")->click();
    processEvents();
    EXPECT_EQ(dialogs.requests.size(), 1);
    EXPECT_TRUE(pane->isLanternwickEnabled());
    EXPECT_TRUE(settings->isLanternwickEnabled());
    EXPECT_EQ(writes.count(), 0);
    EXPECT_EQ(posts, 0);
    EXPECT_TRUE(box("enabledCheckBox")->isChecked());
}

TEST_F(PreferencesGeneralTest, ConfirmingTheDisableDialogWritesPostsAndWarns)
{
    loadPane();
    const void* sender = nullptr;
    auto token = center.addObserver(MHInternalNotifications::MHInternalNotificationLanternwickEnabledStatusDidChanged, nullptr,
                                    [&](const Notification& n) { sender = n.sender; });
    dialogs.nextButton = 0;
    QSignalSpy writes(settings.get(), &UserDefaults::changed);
    box("enabledCheckBox")->click();
    processEvents();
    EXPECT_FALSE(settings->isLanternwickEnabled());
    EXPECT_EQ(writes.count(), 1);
    EXPECT_NE(sender, nullptr);
    EXPECT_TRUE(pane->isWarningActive());
    EXPECT_EQ(pane->warningMessage(), texts.warningStringForLanternwickDisabledState());
    EXPECT_FALSE(box("executionAfterLaunchCheckBox")->isEnabled());
    EXPECT_FALSE(box("autoCloseCheckBox")->isEnabled());

    // Switching on asks nothing.
    box("enabledCheckBox")->click();
    EXPECT_EQ(dialogs.requests.size(), 1);
    EXPECT_TRUE(settings->isLanternwickEnabled());
}

TEST_F(PreferencesGeneralTest, FollowsTheSwitchChangedElsewhereButNotItsOwnPost)
{
    loadPane();
    settings->setIsLanternwickEnabled(false);
    EXPECT_TRUE(pane->isLanternwickEnabled());
    center.post(MHInternalNotifications::MHInternalNotificationLanternwickEnabledStatusDidChanged, this);
    EXPECT_FALSE(pane->isLanternwickEnabled());
    EXPECT_FALSE(box("enabledCheckBox")->isChecked());
    EXPECT_TRUE(pane->isWarningActive());
    EXPECT_TRUE(dialogs.requests.isEmpty());
}

struct WarningCase {
    const char* name;
    bool enabled, afterLaunch, afterWake, delayEnabled;
    float delayBelowScanInterval; // the delay is the scan interval less this
    bool warning;
    QString (Localizator::*message)() const;
};

TEST_F(PreferencesGeneralTest, TheWarningAtItsBoundaries)
{
    const QList<WarningCase> cases {
        { "switched off", false, true, false, true, 0, true, &Localizator::warningStringForLanternwickDisabledState },
        { "no execution option", true, false, false, true, 0, true, &Localizator::warningStringForExecutionDisabledState },
        { "delay equal to the scan interval", true, true, false, true, 0, false, nullptr },
        { "one second less", true, true, false, true, 1, true, &Localizator::warningStringForNetworkConditions },
        { "wake only, one second less", true, false, true, true, 1, true, &Localizator::warningStringForNetworkConditions },
        { "countdown off", true, true, false, false, 0, true, &Localizator::warningStringForNetworkConditions },
    };
    for (const WarningCase& c : cases) {
        SCOPED_TRACE(c.name);
        settings->setIsLanternwickEnabled(c.enabled);
        settings->setIsItemsExecutionAfterLaunchEnabled(c.afterLaunch);
        settings->setIsItemsExecutionAfterAwakingFromSleepEnabled(c.afterWake);
        settings->setIsDelayBeforeItemsExecutionEnabled(c.delayEnabled);
        settings->setDelayBeforeItemsExecution(settings->networkScanInterval() - c.delayBelowScanInterval);
        loadPane();
        pane->show();
        EXPECT_EQ(pane->isWarningActive(), c.warning);
        EXPECT_EQ(warning()->isVisible(), c.warning);
        // The help button keeps to the right edge with or without the line.
        pane->resize(560, 360);
        QCoreApplication::processEvents();
        const auto* help = pane->findChild<QToolButton*>();
        ASSERT_NE(help, nullptr);
        EXPECT_GT(help->geometry().right(), pane->width() - 30) << help->geometry().right();
        if (c.message) {
            EXPECT_EQ(warning()->text(), (texts.*c.message)());
        }
        EXPECT_EQ(pane->isAtLeastOneExecutionOptionEnabled(), c.enabled && (c.afterLaunch || c.afterWake));
    }
}

TEST_F(PreferencesGeneralTest, TheWakeBoxIsOffLimitsWhileTheLaunchQuitsAfterward)
{
    settings->setIsItemsExecutionAfterLaunchEnabled(true);
    settings->setIsAutoCloseAfterItemsExecutionEnabled(true);
    loadPane();
    EXPECT_FALSE(pane->isExecutionAfterAwakeFromSleepAllowed());
    EXPECT_FALSE(box("executionAfterWakeCheckBox")->isEnabled());
    pane->setIsAutoCloseEnabled(false);
    EXPECT_TRUE(box("executionAfterWakeCheckBox")->isEnabled());
    pane->setIsAutoCloseEnabled(true);
    pane->setIsExecutionAfterLaunchEnabled(false);
    EXPECT_TRUE(box("executionAfterWakeCheckBox")->isEnabled());
}

TEST_F(PreferencesGeneralTest, SliderStopsEndAtTheLastValueAndHoldTheFactoryValues)
{
    loadPane();
    struct Slider {
        const char* name;
        QList<double> stops;
        float factory;
    };
    const QList<Slider> sliders {
        { "delayBeforeLaunchSlider", PreferencesGeneralViewController::delayBeforeExecutionStops, settings->delayBeforeItemsExecution() },
        { "delayBetweenItemsSlider", PreferencesGeneralViewController::delayBetweenItemsStops, settings->delayBetweenItemsDuringExecution() },
        { "autoCloseSlider", PreferencesGeneralViewController::delayBeforeAutoCloseStops,
          settings->delayBeforeAutoClosingAfterItemsExecution() },
    };
    for (const Slider& s : sliders) {
        SCOPED_TRACE(s.name);
        auto* slider = pane->findChild<ExplicitRangeSlider*>(s.name);
        ASSERT_NE(slider, nullptr);
        EXPECT_EQ(slider->slider()->maximum(), s.stops.size() - 1);
        EXPECT_TRUE(s.stops.contains(double(s.factory)));
        EXPECT_EQ(slider->value(), double(s.factory));
        slider->slider()->setValue(slider->slider()->maximum());
        EXPECT_EQ(slider->value(), s.stops.last());
    }
    EXPECT_EQ(settings->delayBeforeAutoClosingAfterItemsExecution(), 60.0f);
    EXPECT_EQ(settings->delayBetweenItemsDuringExecution(), 5.0f);
}

TEST_F(PreferencesGeneralTest, EveryControlIsReadByAHumanName)
{
    loadPane();
    pane->show();
    EXPECT_EQ(controlsWithoutHumanNames(pane.get()), QStringList());
    const QStringList names = accessibleNames(pane.get());
    for (const char* slider : { "Delay items launch by", "Pause between items", "Quit Lanternwick after launching items, in" })
        EXPECT_TRUE(names.contains(QString::fromUtf8(slider))) << slider << " in " << names.join(", ").toStdString();
}

TEST_F(PreferencesGeneralTest, HelpOpensTheGeneralPage)
{
    loadPane();
    pane->showHelp();
    ASSERT_EQ(helpOpener->urls.size(), 1);
    EXPECT_TRUE(helpOpener->urls.first().toLocalFile().endsWith("/help/preference-general.html"));
}

} // namespace

TEST_F(PreferencesGeneralTest, ASliderIsReadByTheTimeItShowsAndMovedByAScreenReader)
{
    loadPane();
    auto* delay = pane->findChild<ExplicitRangeSlider*>("delayBeforeLaunchSlider");
    QAccessibleInterface* slider = QAccessible::queryAccessibleInterface(delay->slider());
    ASSERT_NE(slider, nullptr);
    ASSERT_NE(slider->valueInterface(), nullptr);
    ASSERT_NE(slider->textInterface(), nullptr) << "AT-SPI carries a value's text as the control's text";
    EXPECT_EQ(slider->text(QAccessible::Name), "Delay items launch by");
    EXPECT_EQ(slider->text(QAccessible::Value), delay->valueText());
    EXPECT_EQ(slider->textInterface()->text(0, -1), delay->valueText());

    slider->valueInterface()->setCurrentValue(slider->valueInterface()->minimumValue());
    EXPECT_EQ(slider->text(QAccessible::Value), "1 second");
    EXPECT_EQ(settings->delayBeforeItemsExecution(), 1.0f) << "a screen reader's move is stored as a drag is";
    slider->valueInterface()->setCurrentValue(4);
    EXPECT_EQ(slider->text(QAccessible::Value), "10 seconds");
    EXPECT_EQ(slider->textInterface()->characterCount(), 10);
}
