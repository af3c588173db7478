// A pop-up button's list reads each choice by its title and each line
// between choices as a separator, which a screen reader can neither hear as
// a choice nor pick.
#include "ui/views/ChoicePopUpButton.h"
#include "ui/views/SeparatorBindingMenu.h"

#include <QAccessible>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

TEST(ChoiceListAccessible, LinesBetweenChoicesAreSeparatorsAndNeverChosen)
{
    QWidget window;
    auto* button = new ChoicePopUpButton(QStringLiteral("network"), QStringLiteral("Network"), &window);
    button->addChoice(QStringLiteral("Internet Connection"), 0);
    SeparatorBindingMenu::insertItemWithTitle(*button, SeparatorBindingMenu::MHSeparatorBindingMenuSeparatorName, 1, button->count());
    button->addChoice(QStringLiteral("Office"), 2);
    button->showValue(2);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    QAccessibleInterface* reading = QAccessible::queryAccessibleInterface(button);
    ASSERT_EQ(reading->childCount(), 1);
    QAccessibleInterface* list = reading->child(0);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->role(), QAccessible::List);
    EXPECT_EQ(list->text(QAccessible::Name), "Network");
    ASSERT_EQ(list->childCount(), 3);
    const QList<QAccessible::Role> roles { QAccessible::ListItem, QAccessible::Separator, QAccessible::ListItem };
    const QStringList names { QStringLiteral("Internet Connection"), QString(), QStringLiteral("Office") };
    for (int row = 0; row < 3; ++row) {
        QAccessibleInterface* choice = list->child(row);
        ASSERT_NE(choice, nullptr);
        EXPECT_EQ(choice->role(), roles[row]) << row;
        EXPECT_EQ(choice->text(QAccessible::Name), names[row]) << row;
        EXPECT_EQ(choice->parent(), list);
        EXPECT_EQ(list->indexOfChild(choice), row);
        EXPECT_EQ(choice->state().selectable, row != 1) << row;
        ASSERT_NE(choice->tableCellInterface(), nullptr) << "the bus asks rows for their place in the list";
        EXPECT_EQ(choice->tableCellInterface()->rowIndex(), row);
    }
    EXPECT_EQ(list->child(0), list->child(0)) << "one interface per row";
    ASSERT_NE(list->tableInterface(), nullptr);
    EXPECT_EQ(list->tableInterface()->cellAt(2, 0), list->child(2));

    // Setting the line as the value changes nothing, not even for a moment
    // (each change of the current index is a value change on the bus).
    QSignalSpy chosen(button, &ChoicePopUpButton::valueChosen);
    QSignalSpy shown(button, &QComboBox::currentIndexChanged);
    reading->valueInterface()->setCurrentValue(1);
    EXPECT_EQ(button->currentIndex(), 2);
    EXPECT_EQ(shown.count(), 0);
    EXPECT_EQ(chosen.count(), 0);
    // Stepping back passes over it.
    reading->actionInterface()->doAction(QAccessibleActionInterface::decreaseAction());
    EXPECT_EQ(button->currentIndex(), 0);
    EXPECT_EQ(shown.count(), 1);
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.first().first(), 0);

    // A new list reads its own choices.
    button->removeAllChoices();
    button->addChoice(QStringLiteral("Home"), 5);
    ASSERT_EQ(list->childCount(), 1);
    EXPECT_EQ(list->child(0)->text(QAccessible::Name), "Home");
    EXPECT_EQ(list->child(0)->role(), QAccessible::ListItem);
    EXPECT_EQ(list->child(1), nullptr);
}
