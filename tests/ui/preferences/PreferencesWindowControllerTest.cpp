// The preferences window: its toolbar in pane order with the space before
// Update, selecting a pane, the help of each pane, and the keys that work
// in it.
#include "support/PaneTest.h"

#include "ui/base/CommandDispatcher.h"
#include "ui/base/CommandNames.h"
#include "ui/base/CommandResponder.h"
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
#include <QApplication>
#include <QTest>
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

// The application's end of the chain: notes the commands it performs.
struct Application : CommandResponder {
    bool respondsToCommand(const QString& command) const override { return command == CommandNames::terminate; }
    bool validateCommand(const QString&, QAction&) override { return true; }
    void performCommand(const QString& command) override { performed << command; }
    QStringList performed;
};

TEST_F(PreferencesWindowTest, QuitWorksFromTheWindowAndEscapeClosesIt)
{
    Application application;
    CommandDispatcher dispatcher { &application };
    controller->setCommandDispatcher(&dispatcher);
    controller->showWindow();
    QWidget* window = controller->window();
    QApplication::setActiveWindow(window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    controller->paneAtIndex(0).paneViewController().makeFirstResponder();
    QWidget* focus = QApplication::focusWidget();
    ASSERT_TRUE(window->isAncestorOf(focus));

    QTest::keyClick(focus, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(application.performed, QStringList({ CommandNames::terminate }));
    EXPECT_TRUE(window->isVisible());
    QTest::keyClick(focus, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(PreferencesWindowTest, ThePanesAreReachedByKeyboard)
{
    controller->showWindow();
    QWidget* window = controller->window();
    QApplication::setActiveWindow(window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    auto* toolbar = window->findChild<QToolBar*>("preferencesToolbar");
    QWidget* lookAndFeelButton = toolbar->widgetForAction(controller->toolbarActions()->actions().at(1));

    // Tab walks onto the toolbar's buttons; Space on one shows its pane.
    bool reached = false;
    for (int press = 0; press < 60 && !reached; ++press) {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : window, Qt::Key_Tab);
        reached = QApplication::focusWidget() == lookAndFeelButton;
    }
    ASSERT_TRUE(reached) << "the Look & feel button is in the Tab order";
    QTest::keyClick(lookAndFeelButton, Qt::Key_Space);
    EXPECT_EQ(controller->selectedIndex(), 1);
    EXPECT_EQ(window->windowTitle(), "Look & feel");

    // Ctrl+PgDn and Ctrl+PgUp, Ctrl+Tab and Ctrl+Shift+Tab switch panes from
    // wherever the focus is in the window, round the ends.
    controller->paneAtIndex(1).paneViewController().makeFirstResponder();
    const auto press = [](Qt::Key key, Qt::KeyboardModifiers modifiers) { QTest::keyClick(QApplication::focusWidget(), key, modifiers); };
    press(Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(controller->selectedIndex(), 2);
    press(Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(controller->selectedIndex(), 3);
    press(Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(controller->selectedIndex(), 0);
    press(Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(controller->selectedIndex(), 3);
    press(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(controller->selectedIndex(), 0);
    press(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(controller->selectedIndex(), 3);
    EXPECT_TRUE(controller->paneAtIndex(3).paneViewController().isVisible());
    EXPECT_EQ(window->windowTitle(), "Update");
}

} // namespace
