// The Look & feel pane: the restart warning for the tray, the task bar at
// once, the other controls' settings and notifications, and what it says
// where the desktop has no tray.
#include "support/AccessibleControls.h"
#include "support/PaneTest.h"

#include "foundation/MHInternalNotifications.h"
#include "ui/preferences/PreferencesLookAndFeelViewController.h"
#include "ui/windows/DockAndStatusBarController.h"
#include "ui/windows/StatusBar.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>

namespace {

class CountingTray : public StatusBar {
public:
    class Item : public StatusItem {
    public:
        explicit Item(int& count) : m_count(count) { ++m_count; }
        ~Item() override { --m_count; }
        QIcon image() const override { return {}; }
        void setImage(const QIcon&) override {}

    private:
        int& m_count;
    };
    bool isAvailable() const override { return available; }
    std::unique_ptr<StatusItem> addStatusItem(const QIcon&, QMenu*) override { return std::make_unique<Item>(shown); }
    bool available = true;
    int shown = 0;
};

class LookAndFeelTest : public PaneTest {
protected:
    PreferencesLookAndFeelViewController& loadPane()
    {
        dock = std::make_unique<DockAndStatusBarController>(tray);
        equip(*dock);
        pane = std::make_unique<PreferencesLookAndFeelViewController>(*dock, [this] { ++restarts; });
        equip(*pane);
        pane->loadView();
        pane->show();
        return *pane;
    }
    template <typename T>
    T* control(const char* name) const { return pane->findChild<T*>(name); }

    CountingTray tray;
    std::unique_ptr<DockAndStatusBarController> dock;
    std::unique_ptr<PreferencesLookAndFeelViewController> pane;
    int restarts = 0;
};

TEST_F(LookAndFeelTest, TheTrayAsksForARestartAndTheTaskBarComesBackAtOnce)
{
    loadPane();
    int runModePosts = 0;
    auto token = center.addObserver(MHInternalNotifications::MHInternalNotificationApplicationRunModeDidChange, nullptr,
                                    [&](const Notification&) { ++runModePosts; });
    EXPECT_FALSE(control<QLabel>("warningLabel")->isVisible());

    control<QRadioButton>("runModeTrayButton")->click();
    EXPECT_EQ(settings->applicationRunMode(), 1u);
    EXPECT_TRUE(pane->isWarningActive());
    EXPECT_TRUE(control<QLabel>("warningLabel")->isVisible());
    EXPECT_EQ(control<QLabel>("warningLabel")->text(), texts.warningStringForDockModeRestartRequired());
    EXPECT_EQ(tray.shown, 0);
    EXPECT_EQ(runModePosts, 1);

    control<QPushButton>("restartButton")->click();
    EXPECT_EQ(restarts, 1);

    dock->changeToMenubarMode();
    ASSERT_EQ(tray.shown, 1);
    control<QRadioButton>("runModeTaskBarButton")->click();
    EXPECT_EQ(settings->applicationRunMode(), 0u);
    EXPECT_FALSE(pane->isWarningActive());
    EXPECT_FALSE(control<QLabel>("warningLabel")->isVisible());
    EXPECT_EQ(tray.shown, 0);
}

TEST_F(LookAndFeelTest, AScreenReadersToggleAndSetCheckedChooseTheRunModeAsAClickDoes)
{
    loadPane();
    int runModePosts = 0;
    auto token = center.addObserver(MHInternalNotifications::MHInternalNotificationApplicationRunModeDidChange, nullptr,
                                    [&](const Notification&) { ++runModePosts; });
    ASSERT_TRUE(doAccessibleAction(control<QRadioButton>("runModeTrayButton"), QAccessibleActionInterface::toggleAction()));
    EXPECT_EQ(settings->applicationRunMode(), 1u);
    EXPECT_TRUE(pane->isWarningActive());
    control<QRadioButton>("runModeTaskBarButton")->setChecked(true);
    EXPECT_EQ(settings->applicationRunMode(), 0u);
    EXPECT_FALSE(pane->isWarningActive());
    EXPECT_EQ(runModePosts, 2);
}

TEST_F(LookAndFeelTest, TheCurrentModeAgainChangesNothing)
{
    loadPane();
    QSignalSpy writes(settings.get(), &UserDefaults::changed);
    pane->setApplicationRunMode(0);
    EXPECT_EQ(writes.count(), 0);
    EXPECT_FALSE(pane->isWarningActive());
}

TEST_F(LookAndFeelTest, TheWarningIsHiddenWhenThePaneOpensWithTheTrayStored)
{
    settings->setApplicationRunMode(1);
    loadPane();
    EXPECT_TRUE(control<QRadioButton>("runModeTrayButton")->isChecked());
    EXPECT_FALSE(pane->isWarningActive());
    EXPECT_FALSE(control<QLabel>("warningLabel")->isVisible());
    EXPECT_FALSE(control<QPushButton>("restartButton")->isVisible());
}

TEST_F(LookAndFeelTest, EveryControlIsReadByAHumanName)
{
    loadPane();
    pane->show();
    EXPECT_EQ(controlsWithoutHumanNames(pane.get()), QStringList());
    EXPECT_EQ(control<QComboBox>("itemsListSizeBox")->accessibleName(), "Items list rows");
    EXPECT_EQ(control<QComboBox>("logVerbosityBox")->accessibleName(), "Log verbosity");
}

TEST_F(LookAndFeelTest, SaysSoWhereTheDesktopHasNoTray)
{
    loadPane();
    EXPECT_FALSE(control<QLabel>("noTrayLabel")->isVisible());
    tray.available = false;
    loadPane();
    EXPECT_TRUE(control<QLabel>("noTrayLabel")->isVisible());
    EXPECT_EQ(control<QLabel>("noTrayLabel")->text(), texts.warningStringForMissingSystemTray());
    EXPECT_FALSE(control<QRadioButton>("runModeTrayButton")->isEnabled());
}

TEST_F(LookAndFeelTest, ListSizeAndVerbosityGoToTheSettings)
{
    loadPane();
    int sizePosts = 0;
    auto token = center.addObserver(MHInternalNotifications::MHInternalNotificationItemsListsSizeDidChange, nullptr,
                                    [&](const Notification&) { ++sizePosts; });
    control<QComboBox>("itemsListSizeBox")->setCurrentIndex(1);
    EXPECT_EQ(settings->itemsListsSize(), 1u);
    EXPECT_EQ(sizePosts, 1);
    control<QComboBox>("logVerbosityBox")->setCurrentIndex(3);
    EXPECT_EQ(settings->loggingVerbosityLevel(), 3u);
    control<QComboBox>("logVerbosityBox")->setCurrentIndex(0);
    EXPECT_EQ(settings->loggingVerbosityLevel(), 0u);
}

} // namespace
