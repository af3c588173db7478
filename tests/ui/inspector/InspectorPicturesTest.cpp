// The inspector drawn for each kind of item with one condition of each kind,
// and with a name editor open. Set LW_SCREENSHOTS_DIR to keep the pictures.
#include "InspectorTestCase.h"
#include "model/DBLoginGroup.h"
#include "model/DBLoginItem.h"
#include "model/DBScheduledConditionDataItem.h"
#include "ui/inspector/ConditionNameEditorViewController.h"
#include "ui/inspector/ItemInspectorViewController.h"
#include "ui/inspector/ScheduleDataItemViewController.h"
#include "ui/inspector/ScheduledConditionViewController.h"
#include "ui/inspector/StartupConditionRowsModel.h"
#include "ui/inspector/StartupConditionViewControllerBase.h"

#include <QDir>
#include <QPixmap>
#include <QGraphicsEffect>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <algorithm>
#include <cmath>

namespace {

class InspectorPicturesTest : public InspectorTestCase {
protected:
    void picture(QWidget& widget, const QString& name)
    {
        QCoreApplication::processEvents();
        const QPixmap pixmap = widget.grab();
        EXPECT_FALSE(pixmap.isNull()) << name.toStdString();
        const QString folder = qEnvironmentVariable("LW_SCREENSHOTS_DIR");
        if (!folder.isEmpty()) {
            EXPECT_TRUE(pixmap.save(QDir(folder).filePath(name + ".png"))) << name.toStdString();
        }
    }
};

TEST_F(InspectorPicturesTest, EachKindOfItemWithOneConditionOfEachKind)
{
    DBLoginGroup* group = context->getOrCreateApplicationLoginGroup();
    const QList<DBLoginItem*> items {
        editing->createFileItemsFromData({ QStringLiteral("/usr/bin/env") }, group, 0).first(),
        editing->createDelayItemsFromData({ 12 }, group, 1).first(),
        editing->createWaitPreviousItemsFromData({ 0 }, group, 2).first(),
        editing->createConditionalPreviousItemsFromData({ 0 }, group, 3).first(),
    };
    editing->createFileItemsFromData({ QStringLiteral("/usr/bin/true") }, group, 4);
    const QList<DBStartupCondition*> conditions { editing->createScheduledStartupConditionAtIndex(0),
                                                  editing->createHotkeyStartupConditionAtIndex(1),
                                                  editing->createPowerSourceStartupConditionAtIndex(2),
                                                  editing->createMountedVolumeStartupConditionAtIndex(3),
                                                  editing->createNetworkStartupConditionAtIndex(4) };
    const QStringList names { "Weekdays", "Hold Shift", "On battery", "Backup disk", "Office Wi-Fi" };
    for (qsizetype index = 0; index < conditions.size(); ++index)
        conditions[index]->setConditionName(names[index]);
    items.first()->addItemStartupConditionsObject(conditions[1]);

    ItemInspectorViewController inspector;
    inspector.setCommonObjects(common);
    inspector.loadView();
    inspector.resize(420, inspector.sizeHint().height());
    inspector.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&inspector));
    const QStringList kinds { "file", "delay", "wait-previous", "conditional-previous" };
    for (qsizetype index = 0; index < items.size(); ++index) {
        inspector.setRepresentedObject(RepresentedObject::fromObject(items[index]));
        picture(inspector, "inspector-" + kinds[index]);
    }
    // The last row, scrolled into view, with its name field open and shown.
    ConditionNameEditorViewController& nameEditor = inspector.conditionViewControllers()[4]->nameEditorViewController();
    inspector.startupConditionsTableView()->scrollTo(inspector.startupConditionsModel()->index(4));
    nameEditor.showNameEditor();
    QCoreApplication::processEvents();
    ASSERT_TRUE(nameEditor.isEditing());
    EXPECT_TRUE(nameEditor.editorNameView()->isVisible());
    EXPECT_FALSE(nameEditor.editorNameView()->visibleRegion().isEmpty()) << "the field is on screen";
    EXPECT_EQ(nameEditor.editorNameView()->text(), "Office Wi-Fi");
    picture(inspector, "inspector-name-editor");
}

} // namespace

namespace {

// The condition editors of each kind, with a schedule of three rows and a
// network condition whose warning shows.
TEST_F(InspectorPicturesTest, OneConditionEditorOfEachKind)
{
    settings->setIsDelayBeforeItemsExecutionEnabled(false);
    volumes->setMountedVolumes({ { "/media/photos", "Photos", true } });
    DBLoginItem* item = editing->createFileItemsFromData({ QStringLiteral("/usr/bin/env") }, context->getOrCreateApplicationLoginGroup(), 0)
                            .first();
    DBStartupCondition* schedule = editing->createScheduledStartupConditionAtIndex(0);
    // After the entry a new schedule starts with.
    for (int32_t entry = 1; entry < 3; ++entry)
        editing->createScheduledConditionDataItemForCondition(schedule, entry)->setScheduleDayValue(entry * 4);
    const QList<DBStartupCondition*> conditions { schedule, editing->createHotkeyStartupConditionAtIndex(1),
                                                  editing->createPowerSourceStartupConditionAtIndex(2),
                                                  editing->createMountedVolumeStartupConditionAtIndex(3),
                                                  editing->createNetworkStartupConditionAtIndex(4) };
    const QStringList names { "Office hours", "Hold Shift", "On battery", "Photos disk", "Internet" };
    for (qsizetype index = 0; index < conditions.size(); ++index) {
        conditions[index]->setConditionName(names[index]);
        item->addItemStartupConditionsObject(conditions[index]);
    }

    ItemInspectorViewController inspector;
    inspector.setCommonObjects(common);
    inspector.loadView();
    inspector.resize(560, 640);
    inspector.setRepresentedObject(RepresentedObject::fromObject(item));
    inspector.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&inspector));
    // The rows' heights settle after the schedule's layout and the table's refresh.
    auto* scheduleEditor = dynamic_cast<ScheduledConditionViewController*>(inspector.conditionViewControllerForCondition(schedule));
    ASSERT_NE(scheduleEditor, nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] {
        const QList<ScheduleDataItemViewController*> rows = scheduleEditor->scheduleItemViewControllers();
        const bool fadedIn = std::none_of(rows.cbegin(), rows.cend(), [](QWidget* row) { return row->graphicsEffect(); });
        const QList<StartupConditionViewControllerBase*> editors = inspector.conditionViewControllers();
        bool settled = fadedIn && !scheduleEditor->hasPendingLayout();
        for (qsizetype row = 0; row < editors.size(); ++row)
            settled = settled
                && inspector.startupConditionsTableView()->rowHeight(static_cast<int>(row))
                    == static_cast<int>(std::ceil(editors[row]->requiredRowHeight()));
        return settled;
    }));
    picture(inspector, "inspector-condition-editors");
}

} // namespace
