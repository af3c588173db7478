// The welcome window's switch: the confirmation and rollback it shares with
// the General pane, and both windows kept in step.
#include "support/PaneTest.h"

#include "ui/preferences/PreferencesGeneralViewController.h"
#include "ui/windows/WelcomeWindowController.h"

#include <QCheckBox>
#include <QTest>

namespace {

class WelcomeWindowTest : public PaneTest {
protected:
    void SetUp() override
    {
        PaneTest::SetUp();
        equip(welcome);
        welcome.setDialogPresenter(&dialogs);
        equip(general);
        general.loadView();
        general.setDialogPresenter(&dialogs);
    }
    QCheckBox* welcomeBox() { return welcome.window()->findChild<QCheckBox*>("enabledCheckBox"); }
    QCheckBox* generalBox() { return general.findChild<QCheckBox*>("enabledCheckBox"); }

    WelcomeWindowController welcome;
    PreferencesGeneralViewController general;
};

TEST_F(WelcomeWindowTest, DecliningTheDialogTurnsTheBoxBackOn)
{
    dialogs.nextButton = 1;
    welcomeBox()->click();
    EXPECT_FALSE(welcomeBox()->isChecked());
    processEvents();
    EXPECT_TRUE(welcomeBox()->isChecked());
    EXPECT_TRUE(settings->isLanternwickEnabled());
    EXPECT_TRUE(generalBox()->isChecked());
}

TEST_F(WelcomeWindowTest, WelcomeAndGeneralFollowEachOther)
{
    dialogs.nextButton = 0;
    welcomeBox()->click();
    EXPECT_TRUE(dialogs.requests.isEmpty()) << "the confirmation waits until the click has returned";
    processEvents();
    EXPECT_FALSE(settings->isLanternwickEnabled());
    EXPECT_FALSE(general.isLanternwickEnabled());
    EXPECT_FALSE(generalBox()->isChecked());
    EXPECT_TRUE(general.isWarningActive());

    generalBox()->click();
    EXPECT_TRUE(settings->isLanternwickEnabled());
    EXPECT_TRUE(welcome.isLanternwickEnabled());
    EXPECT_TRUE(welcomeBox()->isChecked());
    EXPECT_EQ(dialogs.requests.size(), 1);
}

TEST_F(WelcomeWindowTest, SwitchingBackOnBeforeTheConfirmationOpensAsksNothing)
{
    dialogs.nextButton = 0;
    welcomeBox()->click();
    welcomeBox()->click();
    generalBox()->click();
    processEvents();
    EXPECT_EQ(dialogs.requests.size(), 1) << "two requests to switch off ask once";
    EXPECT_FALSE(settings->isLanternwickEnabled());

    generalBox()->click();
    welcomeBox()->click();
    welcomeBox()->click();
    processEvents();
    EXPECT_EQ(dialogs.requests.size(), 1);
    EXPECT_TRUE(settings->isLanternwickEnabled());
    EXPECT_TRUE(welcomeBox()->isChecked());
    EXPECT_TRUE(generalBox()->isChecked());
}

TEST_F(WelcomeWindowTest, TheBoxTurnsTheWindowOffAtStart)
{
    settings->setShowWelcomeWindow(true);
    WelcomeWindowController shown;
    equip(shown);
    shown.showWindow();
    auto* box = shown.window()->findChild<QCheckBox*>("showAtStartCheckBox");
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isChecked());
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Space);
    EXPECT_FALSE(settings->showWelcomeWindow());
    QTest::keyClick(box, Qt::Key_Space);
    EXPECT_TRUE(settings->showWelcomeWindow());
}

TEST_F(WelcomeWindowTest, HelpOpensTheGettingStartedPage)
{
    welcome.showHelp();
    ASSERT_EQ(helpOpener->urls.size(), 1);
    EXPECT_EQ(helpOpener->urls.first().fileName(), "discover.html");
}

} // namespace
