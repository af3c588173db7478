// The preferences window: its toolbar in pane order with the space before
// Update, selecting a pane, and the help of each pane.
#include "support/PaneTest.h"

#include "ui/base/ViewControllerBase.h"
#include "ui/preferences/PreferencesGeneralViewController.h"
#include "ui/preferences/PreferencesIgnoredItemsViewController.h"
#include "ui/preferences/PreferencesLookAndFeelViewController.h"
#include "ui/preferences/PreferencesUpdateViewController.h"
#include "ui/preferences/PreferencesWindowController.h"
#include "ui/windows/DockAndStatusBarController.h"
#include "ui/windows/StatusBar.h"

#include <QAction>
#include <QActionGroup>
#include <QToolBar>

namespace {

class NoTray : public StatusBar {
public:
    bool isAvailable() const override { return false; }
    std::unique_ptr<StatusItem> addStatusItem(const QIcon&, QMenu*) override { return nullptr; }
};

class PreferencesWindowTest : public PaneTest {
protected:
    void SetUp() override
    {
        PaneTest::SetUp();
        equip(dock);
        std::vector<std::unique_ptr<PreferencesPane>> panes;
        panes.push_back(std::make_unique<PreferencesGeneralViewController>());
        panes.push_back(std::make_unique<PreferencesLookAndFeelViewController>(dock, [] {}));
        panes.push_back(std::make_unique<PreferencesIgnoredItemsViewController>());
        panes.push_back(nullptr);
        panes.push_back(std::make_unique<PreferencesUpdateViewController>());
        controller = std::make_unique<PreferencesWindowController>(std::move(panes));
        equip(*controller);
    }

    NoTray tray;
    DockAndStatusBarController dock { tray };
    std::unique_ptr<PreferencesWindowController> controller;
};

TEST_F(PreferencesWindowTest, TheToolbarListsThePanesInOrderWithTheSpaceBeforeUpdate)
{
    auto* toolbar = controller->window()->findChild<QToolBar*>("preferencesToolbar");
    ASSERT_NE(toolbar, nullptr);
    QStringList entries;
    for (QAction* action : toolbar->actions())
        entries.append(action->objectName().isEmpty() ? QStringLiteral("space") : action->objectName());
    EXPECT_EQ(entries, QStringList({ "GeneralPreferences", "LookAndFeelPreferences", "IgnoredItemsPreferences", "space", "UpdatePreferences" }));
    EXPECT_EQ(controller->paneAtIndex(1).toolbarItemLabel(), "Look & feel");
    EXPECT_EQ(controller->toolbarActions()->actions().at(1)->iconText(), "Look & feel");
    EXPECT_EQ(controller->paneAtIndex(3).toolbarItemLabel(), "Update");
    EXPECT_EQ(controller->selectedIndex(), 0);
    EXPECT_EQ(controller->window()->windowTitle(), "General");
}

TEST_F(PreferencesWindowTest, SelectingAPaneShowsItAndItsTitle)
{
    controller->showWindow();
    controller->selectControllerAtIndex(3);
    EXPECT_EQ(controller->window()->windowTitle(), "Update");
    EXPECT_TRUE(controller->paneAtIndex(3).paneViewController().isVisible());
    EXPECT_FALSE(controller->paneAtIndex(0).paneViewController().isVisible());
    EXPECT_TRUE(controller->toolbarActions()->actions().at(3)->isChecked());

    controller->toolbarActions()->actions().at(1)->trigger();
    EXPECT_EQ(controller->selectedIndex(), 1);
    EXPECT_TRUE(controller->paneAtIndex(1).paneViewController().isVisible());

    controller->selectControllerAtIndex(9);
    EXPECT_EQ(controller->selectedIndex(), 1);
}

TEST_F(PreferencesWindowTest, EachPaneOpensTheHelpPageOfItsAnchor)
{
    controller->window();
    auto& general = static_cast<PreferencesGeneralViewController&>(controller->paneAtIndex(0));
    auto& lookAndFeel = static_cast<PreferencesLookAndFeelViewController&>(controller->paneAtIndex(1));
    auto& ignored = static_cast<PreferencesIgnoredItemsViewController&>(controller->paneAtIndex(2));
    for (int index = 0; index < 3; ++index)
        controller->selectControllerAtIndex(index);
    general.showHelp();
    lookAndFeel.showHelp();
    ignored.showHelp();
    QStringList pages;
    for (const QUrl& url : helpOpener->urls)
        pages.append(url.fileName());
    EXPECT_EQ(pages, QStringList({ "preference-general.html", "preference-look-feel.html", "preference-ignored-items.html" }));
}

} // namespace
