// A screen reader opens a menu button's menu as a click does, once its
// action has been answered, reads the open menu's items and runs one.
#include "ui/views/MenuButton.h"

#include <QAccessible>
#include <QAction>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

TEST(MenuButton, AScreenReaderOpensTheMenuReadsItsItemsAndRunsOne)
{
    auto* menu = new QMenu;
    QAction* first = menu->addAction(QStringLiteral("First"));
    QAction* second = menu->addAction(QStringLiteral("Second"));
    QWidget window;
    auto* button = new MenuButton(QStringLiteral("button"), QStringLiteral("Add Thing"), menu, &window);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QSignalSpy firsts(first, &QAction::triggered);
    QSignalSpy seconds(second, &QAction::triggered);

    QAccessibleInterface* reading = QAccessible::queryAccessibleInterface(button);
    EXPECT_EQ(reading->text(QAccessible::Name), "Add Thing");
    EXPECT_TRUE(reading->state().hasPopup);
    EXPECT_EQ(reading->childCount(), 0) << "a closed menu is not on the bus";
    ASSERT_NE(reading->actionInterface(), nullptr);
    EXPECT_TRUE(reading->actionInterface()->actionNames().contains(QAccessibleActionInterface::showMenuAction()));

    QStringList items;
    bool expanded = false;
    // Runs inside the menu's own loop, as the reader's next call does.
    QObject::connect(menu, &QMenu::aboutToShow, menu, [&] {
        QTimer::singleShot(0, menu, [&] {
            expanded = reading->state().expanded;
            QAccessibleInterface* open = reading->childCount() == 1 ? reading->child(0) : nullptr;
            for (int index = 0; open && index < open->childCount(); ++index)
                items << open->child(index)->text(QAccessible::Name);
            if (open && open->childCount() == 2)
                open->child(1)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
            else
                menu->close();
        });
    });
    reading->actionInterface()->doAction(QAccessibleActionInterface::showMenuAction());
    EXPECT_FALSE(menu->isVisible()) << "the action is answered before the menu runs its loop";
    EXPECT_TRUE(QTest::qWaitFor([&] { return !items.isEmpty() && !menu->isVisible(); }));
    EXPECT_TRUE(expanded);
    EXPECT_EQ(items, QStringList({ "First", "Second" }));
    EXPECT_EQ(firsts.count(), 0);
    EXPECT_EQ(seconds.count(), 1);
    EXPECT_FALSE(menu->isVisible()) << "running an item closes the menu";
    EXPECT_EQ(reading->childCount(), 0);
}
