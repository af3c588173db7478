// The application's windows as a screen reader meets them through
// QAccessible: rows read as they are painted, controls named by their
// labels, windows read as windows, and nothing hidden within reach.
#include "model/DBPowerSourceConditionData.h"
#include "model/DBStartupCondition.h"
#include "support/WindowTest.h"
#include "ui/base/LoginItemsListModel.h"
#include "ui/base/PopoverFrame.h"
#include "ui/mainwindow/ItemInspectorPopoverController.h"
#include "ui/mainwindow/MainItemsViewController.h"
#include "ui/mainwindow/MainWindowController.h"
#include "ui/preferences/PreferencesPane.h"
#include "ui/preferences/PreferencesWindowController.h"
#include "ui/views/ApplicationAccessible.h"
#include "ui/windows/ApplicationWindowControllers.h"
#include "ui/windows/WelcomeWindowController.h"

#include <QAccessible>
#include <QApplication>
#include <QActionGroup>
#include <QComboBox>
#include <QListView>
#include <QLocale>
#include <QTest>
#include <QTimeEdit>
#include <QToolButton>
#include <QToolBar>
#include <functional>

namespace {

// Every node below root, the rows of lists, the menus of menu bars and the
// choices of pop-up buttons left out.
QList<QAccessibleInterface*> accessibleNodes(QObject* root)
{
    QList<QAccessibleInterface*> nodes;
    QList<QAccessibleInterface*> pending { QAccessible::queryAccessibleInterface(root) };
    while (!pending.isEmpty()) {
        QAccessibleInterface* node = pending.takeFirst();
        if (!node)
            continue;
        nodes.append(node);
        // A pop-up button's list of choices is there while it is closed, as
        // with Qt's combo box; the pop-up tests read it.
        static const QList<QAccessible::Role> leaves { QAccessible::MenuBar, QAccessible::Cell, QAccessible::ListItem,
                                                       QAccessible::Row, QAccessible::ColumnHeader, QAccessible::RowHeader,
                                                       QAccessible::ComboBox };
        if (leaves.contains(node->role()))
            continue;
        for (int index = 0; index < node->childCount(); ++index)
            pending.append(node->child(index));
    }
    return nodes;
}

// One line each, for readable failures.
std::string lines(const QStringList& texts)
{
    return texts.join(QLatin1Char('\n')).toStdString();
}

std::string describe(const QList<QAccessibleInterface*>& nodes)
{
    QStringList described;
    for (QAccessibleInterface* node : nodes)
        described << QStringLiteral("%1 \"%2\" (%3)").arg(QString::number(node->role(), 16), node->text(QAccessible::Name),
                                                         node->object() ? node->object()->objectName() : QString());
    return lines(described);
}

std::string hiddenNodes(QObject* root)
{
    QList<QAccessibleInterface*> hidden;
    for (QAccessibleInterface* node : accessibleNodes(root))
        if (node->state().invisible)
            hidden.append(node);
    return describe(hidden);
}

// The check boxes, pop-up buttons, sliders and radio buttons of root that a
// screen reader could not tell apart: no name, or their value as their name.
std::string controlsNamedByNothingOrTheirValue(QObject* root)
{
    static const QList<QAccessible::Role> named { QAccessible::CheckBox, QAccessible::ComboBox, QAccessible::Slider,
                                                  QAccessible::RadioButton };
    QList<QAccessibleInterface*> unnamed;
    for (QAccessibleInterface* node : accessibleNodes(root)) {
        const QString name = node->text(QAccessible::Name).trimmed();
        const QString value = node->valueInterface() ? node->valueInterface()->currentValue().toString() : node->text(QAccessible::Value);
        if (named.contains(node->role()) && (name.isEmpty() || name == value))
            unnamed.append(node);
    }
    return describe(unnamed);
}

std::string rowTexts(QListView* list)
{
    QStringList rows;
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(list);
    for (int row = 0; row < list->model()->rowCount(); ++row)
        rows << table->tableInterface()->cellAt(row, 0)->text(QAccessible::Name);
    return lines(rows);
}

class AccessibilityTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        windows = std::make_unique<ApplicationWindowControllers>(*helpers, [] {});
    }

    DBFileItem* addDescribedFile(const QString& path, const QString& description)
    {
        workspace->addFile(path, { ItemPathTypeApplication, QFileInfo(path).fileName(), description, {} });
        return static_cast<DBFileItem*>(helpers->modelEditing()->createFileItemsFromData({ path }, group, items().size()).value(0));
    }

    DBStartupCondition* powerCondition(int32_t type, const QString& name, DBLoginItem* usedBy)
    {
        DBStartupCondition* condition = helpers->modelEditing()->createPowerSourceStartupConditionAtIndex(0);
        condition->conditionPowerSourceData()->setPowerSourceTypeValue(type);
        condition->setConditionName(name);
        helpers->modelEditing()->setStartupConditionUsedByLoginItem(condition, usedBy, true);
        return condition;
    }

    MainItemsViewController& itemsPage()
    {
        MainWindowController& main = windows->mainWindowController();
        main.window()->show();
        return *main.itemsSubviewController();
    }

    // The inspector of item in its popover, tall enough that no row is scrolled away.
    PopoverFrame* showInspector(DBLoginItem* item)
    {
        MainItemsViewController& page = itemsPage();
        page.itemInspectors()->showLoginItemInspector(item, page.itemsTableView(), QRect(0, 0, 10, 10));
        PopoverFrame* popover = page.itemInspectors()->popover();
        popover->resize(560, 1400);
        QCoreApplication::processEvents();
        return popover;
    }

    std::unique_ptr<ApplicationWindowControllers> windows;
};

TEST_F(AccessibilityTest, RowsReadWhatTheyShowInReadingOrder)
{
    addDescribedFile("/usr/bin/xterm", "Terminal emulator");
    // Its conditions in their order: each new one goes first.
    DBFileItem* report = addDescribedFile("/home/user/report.txt", "Plain text document");
    helpers->modelEditing()->setFileItemStartupMode(report, ItemStartupModeHidden);
    powerCondition(PowerSourceTypePowerSupply, "On the power adapter", report);
    powerCondition(PowerSourceTypeBattery, "On battery", report);
    DBFileItem* disabled = addDescribedFile("/usr/bin/same", "same");
    helpers->modelEditing()->setFileItemStartupMode(disabled, ItemStartupModeDisabled);
    helpers->modelEditing()->createFileItemsFromData({ "/opt/gone/Program" }, group, items().size());
    addDelay(5);
    startFresh();
    QListView* list = itemsPage().itemsTableView();

    const QString delay = items().last()->itemNiceDisplayName();
    EXPECT_EQ(rowTexts(list), lines({ "xterm, Terminal emulator",
                                            "report.txt, Plain text document, hidden, On battery, On the power adapter",
                                            // A description that is the name is said once.
                                            "same, disabled", "Program, Item is missing!", delay }));

    windows->toggleSimulationMode();
    QTRY_VERIFY(rowTexts(list).find("would") != std::string::npos);
    EXPECT_EQ(rowTexts(list),
              lines({ "xterm, Terminal emulator, would start",
                            "report.txt, Plain text document, hidden, On battery (prevents), On the power adapter (allows), "
                            "would not start because of its conditions",
                            "same, disabled, would not start because of the item itself",
                            "Program, Item is missing!, would not start because of the item itself", delay + ", would start" }));

    // The texts follow the rows' model: what the delegate paints.
    EXPECT_EQ(itemsPage().itemsModel()->index(0).data(Qt::AccessibleTextRole).toString().toStdString(),
              "xterm, Terminal emulator, would start");
}

TEST_F(AccessibilityTest, ControlsOfTheInspectorAreNamedByWhatTheyDo)
{
    DBFileItem* item = addDescribedFile("/usr/bin/xterm", "Terminal emulator");
    powerCondition(PowerSourceTypePowerSupply, "On the power adapter", item);
    helpers->modelEditing()->createScheduledStartupConditionAtIndex(1)->setConditionName("Working hours");
    startFresh();
    PopoverFrame* popover = showInspector(item);

    EXPECT_EQ(controlsNamedByNothingOrTheirValue(popover), "");
    QStringList checkBoxes;
    QAccessibleInterface* startupMode = nullptr;
    for (QAccessibleInterface* node : accessibleNodes(popover)) {
        if (node->role() == QAccessible::CheckBox)
            checkBoxes << node->text(QAccessible::Name);
        if (node->text(QAccessible::Name) == "Startup mode")
            startupMode = node;
    }
    EXPECT_TRUE(checkBoxes.contains("Use On the power adapter")) << checkBoxes.join(", ").toStdString();
    EXPECT_TRUE(checkBoxes.contains("Use Working hours")) << checkBoxes.join(", ").toStdString();

    // One choice of three, read as one group.
    ASSERT_NE(startupMode, nullptr);
    EXPECT_EQ(startupMode->role(), QAccessible::Grouping);
    QStringList choices;
    for (int index = 0; index < startupMode->childCount(); ++index)
        if (startupMode->child(index)->role() == QAccessible::RadioButton)
            choices << startupMode->child(index)->text(QAccessible::Name);
    EXPECT_EQ(choices, QStringList({ "Shown", "Hidden", "Disabled" }));
}

TEST_F(AccessibilityTest, ControlsOfThePreferencesAreNamedByTheirLabels)
{
    PreferencesWindowController& preferences = windows->preferencesWindowController();
    preferences.window()->show();
    auto* toolbar = preferences.window()->findChild<QToolBar*>();
    ASSERT_NE(toolbar, nullptr);
    for (int index = 0; index < preferences.paneCount(); ++index) {
        // Chosen as a screen reader chooses: by pressing the pane's page tab.
        QAction* pane = preferences.toolbarActions()->actions().at(index);
        QAccessibleInterface* button = QAccessible::queryAccessibleInterface(toolbar->widgetForAction(pane));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->role(), QAccessible::PageTab);
        EXPECT_EQ(button->text(QAccessible::Name), preferences.paneAtIndex(index).toolbarItemLabel());
        EXPECT_EQ(button->parent()->role(), QAccessible::PageTabList);
        button->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCoreApplication::processEvents();
        EXPECT_EQ(preferences.selectedIndex(), index);
        EXPECT_TRUE(button->state().selected);
        EXPECT_EQ(controlsNamedByNothingOrTheirValue(preferences.window()), "") << "pane " << index;
        EXPECT_EQ(hiddenNodes(preferences.window()), "") << "pane " << index;
    }
}

TEST_F(AccessibilityTest, APopUpButtonReadsAsQtsComboBoxDoes)
{
    PreferencesWindowController& preferences = windows->preferencesWindowController();
    preferences.window()->show();
    preferences.selectControllerAtIndex(1);
    auto* box = preferences.window()->findChild<QComboBox*>("logVerbosityBox");
    QAccessibleInterface* verbosity = QAccessible::queryAccessibleInterface(box);
    ASSERT_NE(verbosity, nullptr);
    // Named by its label; its choice as value and as text, its choices as the list below it.
    EXPECT_EQ(verbosity->text(QAccessible::Name), "Log verbosity");
    EXPECT_EQ(verbosity->text(QAccessible::Value), box->currentText());
    ASSERT_NE(verbosity->textInterface(), nullptr);
    EXPECT_EQ(verbosity->textInterface()->text(0, -1), box->currentText());
    ASSERT_EQ(verbosity->childCount(), 1);
    QAccessibleInterface* list = verbosity->child(0);
    QStringList choices;
    for (int index = 0; index < list->childCount(); ++index)
        choices << list->child(index)->text(QAccessible::Name);
    EXPECT_EQ(choices.size(), box->count());
    EXPECT_TRUE(choices.contains(box->currentText()));
    EXPECT_EQ(verbosity->indexOfChild(list), 0);

    // Opened and chosen by its actions and its value. (The events it sends
    // are heard over the bridge by scripts/check-accessibility.)
    const QStringList actions = verbosity->actionInterface()->actionNames();
    for (const QString& action : { QAccessibleActionInterface::showMenuAction(), QAccessibleActionInterface::pressAction(),
                                   QAccessibleActionInterface::increaseAction(), QAccessibleActionInterface::decreaseAction() })
        EXPECT_TRUE(actions.contains(action)) << action.toStdString();
    ASSERT_NE(verbosity->valueInterface(), nullptr);
    verbosity->valueInterface()->setCurrentValue(0);
    EXPECT_EQ(verbosity->valueInterface()->currentValue().toInt(), 0);
    verbosity->actionInterface()->doAction(QAccessibleActionInterface::increaseAction());
    EXPECT_EQ(box->currentIndex(), 1);
    EXPECT_EQ(verbosity->text(QAccessible::Value), box->itemText(1));
    verbosity->actionInterface()->doAction(QAccessibleActionInterface::decreaseAction());
    EXPECT_EQ(box->currentIndex(), 0);
    verbosity->actionInterface()->doAction(QAccessibleActionInterface::showMenuAction());
    EXPECT_TRUE(box->view()->isVisible());
    verbosity->actionInterface()->doAction(QAccessibleActionInterface::showMenuAction());
    EXPECT_FALSE(box->view()->isVisible());
}

TEST_F(AccessibilityTest, TheSimulationBarsButtonsReadTheirPurposeAndTheValueTheyShow)
{
    itemsPage();
    windows->toggleSimulationMode();
    QCoreApplication::processEvents();
    QWidget* main = windows->mainWindowController().window();
    for (const auto& [objectName, purpose] : { std::pair { "simulatedDate", "Day" }, std::pair { "simulatedVolumes", "Mounted volumes" },
                                               std::pair { "simulatedNetworks", "Networks" } }) {
        SCOPED_TRACE(objectName);
        auto* button = main->findChild<QToolButton*>(objectName);
        ASSERT_NE(button, nullptr);
        QAccessibleInterface* read = QAccessible::queryAccessibleInterface(button);
        EXPECT_EQ(read->text(QAccessible::Name), purpose);
        EXPECT_FALSE(button->text().isEmpty());
        EXPECT_EQ(read->text(QAccessible::Value), button->text());
        ASSERT_NE(read->textInterface(), nullptr);
        EXPECT_EQ(read->textInterface()->text(0, -1), button->text());
        // Pressed as a screen reader presses it: its popover is a window titled by the purpose.
        ASSERT_TRUE(read->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
        read->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCoreApplication::processEvents();
        PopoverFrame* popover = nullptr;
        for (PopoverFrame* shown : main->findChildren<PopoverFrame*>())
            if (shown->isVisible())
                popover = shown;
        ASSERT_NE(popover, nullptr);
        EXPECT_EQ(QAccessible::queryAccessibleInterface(popover)->text(QAccessible::Name), purpose);
        popover->close();
    }
}

TEST_F(AccessibilityTest, TheSimulatedDayAndTimeReadTheirLabelsAndTheirValues)
{
    itemsPage();
    windows->toggleSimulationMode();
    QCoreApplication::processEvents();
    QWidget* main = windows->mainWindowController().window();
    main->findChild<QToolButton*>("simulatedDate")->click();
    auto* dayBox = main->findChild<QComboBox*>("simulatedDay");
    auto* timeField = main->findChild<QTimeEdit*>("simulatedTime");
    ASSERT_NE(dayBox, nullptr);
    ASSERT_NE(timeField, nullptr);

    QAccessibleInterface* day = QAccessible::queryAccessibleInterface(dayBox);
    EXPECT_EQ(day->text(QAccessible::Name), "Day");
    EXPECT_EQ(day->text(QAccessible::Value), dayBox->currentText());
    ASSERT_NE(day->valueInterface(), nullptr);
    day->valueInterface()->setCurrentValue(2);
    EXPECT_EQ(day->text(QAccessible::Value), QLocale().dayName(Qt::Wednesday));

    QAccessibleInterface* time = QAccessible::queryAccessibleInterface(timeField);
    EXPECT_EQ(time->role(), QAccessible::SpinBox);
    EXPECT_EQ(time->text(QAccessible::Name), "Time");
    ASSERT_NE(time->valueInterface(), nullptr);
    EXPECT_EQ(time->valueInterface()->currentValue().toInt(), timeField->time().hour() * 60 + timeField->time().minute());
    EXPECT_EQ(time->valueInterface()->maximumValue().toInt(), 24 * 60 - 1);
    time->valueInterface()->setCurrentValue(9 * 60 + 30);
    EXPECT_EQ(timeField->time(), QTime(9, 30));
    EXPECT_EQ(time->text(QAccessible::Value), "09:30");
    ASSERT_NE(time->textInterface(), nullptr);
    EXPECT_EQ(time->textInterface()->text(0, -1), "09:30");
    time->valueInterface()->setCurrentValue(24 * 60);
    EXPECT_EQ(timeField->time(), QTime(9, 30)) << "no time of day";
    // The arrows' steps, of the hours or the minutes.
    time->actionInterface()->doAction(QAccessibleActionInterface::increaseAction());
    EXPECT_GT(timeField->time(), QTime(9, 30));
    time->actionInterface()->doAction(QAccessibleActionInterface::decreaseAction());
    EXPECT_EQ(timeField->time(), QTime(9, 30));
}

TEST_F(AccessibilityTest, EveryWindowIsReadAsAWindowByItsTitle)
{
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Lanternwick"));
    ApplicationAccessible::install();
    EXPECT_EQ(QAccessible::queryAccessibleInterface(qApp)->text(QAccessible::Name), "Lanternwick");

    DBFileItem* item = addDescribedFile("/usr/bin/xterm", "Terminal emulator");
    startFresh();
    PopoverFrame* popover = showInspector(item);
    ItemInspectorPopoverController& inspectors = *itemsPage().itemInspectors();
    inspectors.detach();
    const std::function<QWidget*()> windowsToRead[] {
        [&] { return windows->mainWindowController().window(); },
        [&] { return windows->welcomeWindowController().window(); },
        [&] { return windows->preferencesWindowController().window(); },
        [&] { return static_cast<QWidget*>(popover); },
        [&] { return inspectors.itemInspectorDetachedWindow(); },
    };
    for (const auto& window : windowsToRead) {
        QAccessibleInterface* read = QAccessible::queryAccessibleInterface(window());
        ASSERT_NE(read, nullptr);
        EXPECT_EQ(read->role(), QAccessible::Window) << window()->objectName().toStdString();
        EXPECT_FALSE(read->text(QAccessible::Name).isEmpty()) << window()->objectName().toStdString();
    }
    EXPECT_EQ(QAccessible::queryAccessibleInterface(inspectors.itemInspectorDetachedWindow())->text(QAccessible::Name), "xterm");

    // The main window is read by the page it shows.
    QAccessibleInterface* main = QAccessible::queryAccessibleInterface(windows->mainWindowController().window());
    EXPECT_EQ(main->text(QAccessible::Name), "Lanternwick");
    windows->mainWindowController().switchToSystemItemsView();
    EXPECT_EQ(main->text(QAccessible::Name), "System Items");
}

TEST_F(AccessibilityTest, NothingHiddenIsReachableAndNothingUnnamedTakesFocus)
{
    DBFileItem* item = addDescribedFile("/usr/bin/xterm", "Terminal emulator");
    // One time only: its delete button is hidden.
    helpers->modelEditing()->createScheduledStartupConditionAtIndex(0);
    helpers->modelEditing()->createPowerSourceStartupConditionAtIndex(1);
    startFresh();
    PopoverFrame* popover = showInspector(item);
    EXPECT_EQ(hiddenNodes(popover), "");

    QWidget* main = windows->mainWindowController().window();
    QCoreApplication::processEvents();
    EXPECT_EQ(hiddenNodes(main), "");
    QStringList unnamed;
    for (QWidget* widget : main->findChildren<QWidget*>())
        if (widget->isVisible() && (widget->focusPolicy() & Qt::TabFocus) && !widget->focusProxy()
            && QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name).trimmed().isEmpty())
            unnamed << widget->metaObject()->className() + QStringLiteral(" ") + widget->objectName();
    EXPECT_EQ(lines(unnamed), "");
}

} // namespace
