// Rows of the items page and of the ignored list are dragged and dropped
// through the shared list model: reorders, moves between the two lists and
// files from the file manager, each one undo step and one save.
#include "model/DBDelayItem.h"
#include "model/DBStartupCondition.h"
#include "model/ExecutionValidationParameters.h"
#include "support/WindowTest.h"
#include "texts/Localizator.h"
#include "ui/base/LoginItemDragData.h"
#include "ui/base/LoginItemsListModel.h"
#include "ui/inspector/StartupConditionRowsModel.h"
#include "ui/mainwindow/MainBottomBarsController.h"
#include "ui/mainwindow/MainItemsViewController.h"

#include <QDropEvent>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QListView>
#include <QMimeData>
#include <functional>
#include <memory>

namespace {

class ItemsDragAndDropTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        helpers->initializeUserDefaults();
        handObjectsTo(page);
        page.setRepresentedObject(QVariant::fromValue(group));
        page.loadView();
        ignoredGroup = context->getOrCreateIgnoreLoginGroup();
        // As the ignored items pane sets its list up.
        pane.setCommonObjects(commonObjects());
        ignoredList = std::make_unique<LoginItemsListModel>(*context, ignoredGroup);
        ignoredList->enableDragAndDrop(pane);
    }

    LoginItemsListModel& list() { return *page.itemsModel(); }

    void addFiles(const QStringList& names)
    {
        for (const QString& name : names)
            addFile("/" + name);
    }
    DBLoginItem* addIgnored(const QString& name)
    {
        const qsizetype end = context->sortedLoginItemsForGroup(ignoredGroup).size();
        if (name == "~")
            return helpers->modelEditing()->createDelayItemsFromData({ 1.0 }, ignoredGroup, end).value(0);
        workspace->addFile("/" + name, { ItemPathTypeApplication, name, {}, {} });
        return helpers->modelEditing()->createFileItemsFromData({ "/" + name }, ignoredGroup, end).value(0);
    }

    // The paths without their slash ("~" for the kinds without a file).
    QString order(const DBLoginGroup* of) const
    {
        QStringList names;
        for (DBLoginItem* item : context->sortedLoginItemsForGroup(of))
            names << (item->loginItemType() == LoginItemTypeFile ? static_cast<DBFileItem*>(item)->itemPath().mid(1) : QStringLiteral("~"));
        return names.join(' ');
    }
    QString order() const { return order(group); }
    QList<DBLoginItem*> itemsOf(const DBLoginGroup* of, const QList<int>& rows) const
    {
        QList<DBLoginItem*> picked;
        for (int row : rows)
            picked.append(context->sortedLoginItemsForGroup(of).at(row));
        return picked;
    }

    static std::unique_ptr<QMimeData> drag(LoginItemsListModel& from, const QList<int>& rows)
    {
        QModelIndexList indexes;
        for (int row : rows)
            indexes.append(from.index(row));
        return std::unique_ptr<QMimeData>(from.mimeData(indexes));
    }
    static bool drop(LoginItemsListModel& to, const QMimeData& data, int row, Qt::DropAction action = Qt::MoveAction)
    {
        return to.dropMimeData(&data, action, row, 0, {});
    }

    QString undoName() const { return context->undoManager().undoActionName(); }
    const Localizator& texts() const { return page.localizator(); }

    MainItemsViewController page;
    ViewControllerBase pane;
    DBLoginGroup* ignoredGroup = nullptr;
    std::unique_ptr<LoginItemsListModel> ignoredList;
};

// --- Reordering ------------------------------------------------------------------------

struct ReorderCase {
    const char* name;
    QList<int> rows;
    int dropRow;
    QString orderAfter;
};

class ReorderTest : public ItemsDragAndDropTest, public testing::WithParamInterface<ReorderCase> {};

TEST_P(ReorderTest, MovesTheRowsAboveTheDropRowAsOneSavedStep)
{
    const ReorderCase& reorder = GetParam();
    addFiles({ "A", "B", "C", "D", "E", "F" });
    startFresh();
    const QList<DBLoginItem*> dragged = itemsOf(group, reorder.rows);
    const auto data = drag(list(), reorder.rows);
    ASSERT_NE(data, nullptr);
    ASSERT_TRUE(list().canDropMimeData(data.get(), Qt::MoveAction, reorder.dropRow, 0, {}));

    EXPECT_TRUE(drop(list(), *data, reorder.dropRow));
    EXPECT_EQ(order(), reorder.orderAfter);
    // The rows show the new order at once.
    EXPECT_EQ(list().items(), items());
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(undoName(), texts().undoActionForMovingLoginItems(dragged));
    context->undoManager().undo();
    EXPECT_EQ(order(), "A B C D E F");
    EXPECT_FALSE(context->undoManager().canUndo());
}

INSTANTIATE_TEST_SUITE_P(Drops, ReorderTest,
                         testing::Values(ReorderCase { "TwoRowsDown", { 0, 1 }, 4, "C D A B E F" },
                                         ReorderCase { "OneRowUp", { 4 }, 1, "A E B C D F" },
                                         ReorderCase { "OneRowDown", { 1 }, 4, "A C D B E F" },
                                         ReorderCase { "RowsAroundTheDropRow", { 1, 3 }, 3, "A C B D E F" },
                                         ReorderCase { "LastRowsToTheTop", { 4, 5 }, 0, "E F A B C D" },
                                         ReorderCase { "BelowTheLastRow", { 0 }, -1, "B C D E F A" },
                                         ReorderCase { "RowsPickedOutOfOrder", { 3, 0 }, 6, "B C E F A D" }),
                         [](const testing::TestParamInfo<ReorderCase>& info) { return std::string(info.param.name); });

TEST_F(ItemsDragAndDropTest, ADropThatKeepsTheOrderAddsNoStepAndNoSave)
{
    addFiles({ "A", "B", "C" });
    startFresh();
    for (const auto& [rows, dropRow] : { std::pair(QList<int>({ 1 }), 1), std::pair(QList<int>({ 1 }), 2),
                                         std::pair(QList<int>({ 0, 1 }), 2), std::pair(QList<int>({ 2 }), -1) }) {
        EXPECT_TRUE(drop(list(), *drag(list(), rows), dropRow));
        EXPECT_EQ(order(), "A B C");
    }
    EXPECT_FALSE(context->undoManager().canUndo());
    EXPECT_EQ(saves, 0);
}

TEST_F(ItemsDragAndDropTest, ADropOntoARowIsRefused)
{
    addFiles({ "A", "B", "C" });
    startFresh();
    const auto data = drag(list(), { 0 });
    const QModelIndex onto = list().index(2);
    EXPECT_FALSE(list().flags(onto).testFlag(Qt::ItemIsDropEnabled));
    EXPECT_TRUE(list().flags({}).testFlag(Qt::ItemIsDropEnabled));
    EXPECT_FALSE(list().canDropMimeData(data.get(), Qt::MoveAction, -1, -1, onto));
    EXPECT_FALSE(list().dropMimeData(data.get(), Qt::MoveAction, -1, -1, onto));
    EXPECT_FALSE(list().canDropMimeData(data.get(), Qt::MoveAction, 4, 0, {}));
    EXPECT_EQ(order(), "A B C");
    EXPECT_EQ(saves, 0);
}

// --- Payloads that are not rows of this process and database ---------------------------

struct RefusedCase {
    const char* name;
    std::function<std::unique_ptr<QMimeData>(ItemsDragAndDropTest& test, LoginItemsListModel& list)> payload;
};

class RefusedPayloadTest : public ItemsDragAndDropTest, public testing::WithParamInterface<RefusedCase> {
public:
    using ItemsDragAndDropTest::drag;
    using ItemsDragAndDropTest::helpers;
    using ItemsDragAndDropTest::context;
    using ItemsDragAndDropTest::group;
};

TEST_P(RefusedPayloadTest, ChangesNothing)
{
    addFiles({ "A", "B", "C", "D" });
    startFresh();
    const auto data = GetParam().payload(*this, list());
    ASSERT_NE(data, nullptr);
    EXPECT_FALSE(list().canDropMimeData(data.get(), Qt::MoveAction, 3, 0, {}));
    EXPECT_FALSE(drop(list(), *data, 3));
    EXPECT_FALSE(drop(list(), *data, 3, Qt::CopyAction));
    EXPECT_EQ(order(), "A B C D");
    EXPECT_FALSE(context->undoManager().canUndo());
    EXPECT_EQ(saves, 0);
}

std::unique_ptr<QMimeData> changedRecord(LoginItemsListModel& list, const std::function<void(QJsonObject&)>& change)
{
    auto data = std::unique_ptr<QMimeData>(list.mimeData({ list.index(0) }));
    QJsonArray records = QJsonDocument::fromJson(data->data(LoginItemDragData::mimeType)).array();
    QJsonObject record = records.first().toObject();
    change(record);
    records.replace(0, record);
    data->setData(LoginItemDragData::mimeType, QJsonDocument(records).toJson());
    return data;
}

RefusedCase changing(const char* name, const char* key, const QJsonValue& value)
{
    return { name, [key, value](ItemsDragAndDropTest&, LoginItemsListModel& list) {
                return changedRecord(list, [&](QJsonObject& record) { record.insert(QLatin1String(key), value); });
            } };
}

INSTANTIATE_TEST_SUITE_P(
    Payloads, RefusedPayloadTest,
    testing::Values(
        RefusedCase { "RowsAsPlainText",
                      [](ItemsDragAndDropTest&, LoginItemsListModel& list) {
                          auto rows = std::unique_ptr<QMimeData>(list.mimeData({ list.index(0) }));
                          auto text = std::make_unique<QMimeData>();
                          text->setText(QString::fromUtf8(rows->data(LoginItemDragData::mimeType)));
                          return text;
                      } },
        RefusedCase { "NotJson",
                      [](ItemsDragAndDropTest&, LoginItemsListModel&) {
                          auto data = std::make_unique<QMimeData>();
                          data->setData(LoginItemDragData::mimeType, "[{\"index\": 0, \"group\": \"applic");
                          return data;
                      } },
        changing("UnknownObject", "objectID", "x-lanternwick://00000000-0000-0000-0000-000000000000/FileItem/p1"),
        changing("AnotherProcess", "process", "4242/8c6ae2a4-56b3-4a4e-9a52-0f7b4c0fb7a1"),
        changing("UnknownGroup", "group", "system"),
        changing("TheOtherList", "group", "ignored"),
        changing("IndexOutOfRange", "index", 99),
        changing("IndexOfAnotherRow", "index", 2),
        RefusedCase { "ObjectOfThisDatabaseNotAnItem",
                      [](ItemsDragAndDropTest& test, LoginItemsListModel& list) {
                          auto& self = static_cast<RefusedPayloadTest&>(test);
                          const QString id = self.group->objectID().uriRepresentation();
                          return changedRecord(list, [&](QJsonObject& record) { record.insert("objectID", id); });
                      } },
        RefusedCase { "AnItemDeletedSinceTheDrag",
                      [](ItemsDragAndDropTest& test, LoginItemsListModel& list) {
                          auto& self = static_cast<RefusedPayloadTest&>(test);
                          auto data = std::unique_ptr<QMimeData>(list.mimeData({ list.index(3) }));
                          DBLoginItem* last = list.itemAtIndex(3);
                          self.helpers->modelEditing()->deleteLoginItems({ last }, self.group);
                          self.helpers->modelEditing()->createFileItemsFromData({ QStringLiteral("/D") }, self.group, 3);
                          self.context->undoManager().removeAllActions();
                          return data;
                      } },
        RefusedCase { "ConditionRows",
                      [](ItemsDragAndDropTest& test, LoginItemsListModel&) {
                          auto& self = static_cast<RefusedPayloadTest&>(test);
                          StartupConditionRowsModel conditions;
                          conditions.setConditions({ self.helpers->modelEditing()->createHotkeyStartupConditionAtIndex(0) });
                          self.context->undoManager().removeAllActions();
                          return std::unique_ptr<QMimeData>(conditions.mimeData({ conditions.index(0) }));
                      } }),
    [](const testing::TestParamInfo<RefusedCase>& info) { return std::string(info.param.name); });

// --- Between the two lists ---------------------------------------------------------------

TEST_F(ItemsDragAndDropTest, ApplicationRowsDroppedOnTheIgnoredListMoveOnlyTheirFiles)
{
    addFile("/A");
    addDelay();
    addFiles({ "B", "C" });
    addIgnored("X");
    addIgnored("Y");
    startFresh();
    const QList<DBLoginItem*> before = items();

    EXPECT_TRUE(drop(*ignoredList, *drag(list(), { 0, 1, 3 }), 1));
    EXPECT_EQ(order(), "~ B");
    EXPECT_EQ(order(ignoredGroup), "X A C Y");
    EXPECT_EQ(ignoredList->items(), context->sortedLoginItemsForGroup(ignoredGroup));
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(undoName(), texts().undoActionForMovingApplicationItemsToIgnoreGroup({ before[0], before[3] }));
    context->undoManager().undo();
    EXPECT_EQ(order(), "A ~ B C");
    EXPECT_EQ(order(ignoredGroup), "X Y");
}

TEST_F(ItemsDragAndDropTest, IgnoredRowsDroppedOnTheApplicationListGoInAtTheDropRow)
{
    addFiles({ "A", "B" });
    addIgnored("X");
    // A list edited by hand may hold items without a file; they stay.
    addIgnored("~");
    addIgnored("Y");
    startFresh();
    const QList<DBLoginItem*> ignored = context->sortedLoginItemsForGroup(ignoredGroup);

    EXPECT_TRUE(drop(list(), *drag(*ignoredList, { 0, 1, 2 }), 1));
    EXPECT_EQ(order(), "A X Y B");
    EXPECT_EQ(order(ignoredGroup), "~");
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(undoName(), texts().undoActionForMovingIgnoreItemsToApplicationGroup({ ignored[0], ignored[2] }));

    // Only the item without a file: nothing to move.
    QCoreApplication::processEvents();
    EXPECT_TRUE(drop(list(), *drag(*ignoredList, { 0 }), 0));
    EXPECT_EQ(order(), "A X Y B");
    EXPECT_EQ(saves, 1);

    context->undoManager().undo();
    EXPECT_EQ(order(), "A B");
    EXPECT_EQ(order(ignoredGroup), "X ~ Y");
}

TEST_F(ItemsDragAndDropTest, TheIgnoredListReordersItsRows)
{
    for (const char* name : { "X", "Y", "Z" })
        addIgnored(name);
    startFresh();
    DBLoginItem* first = context->sortedLoginItemsForGroup(ignoredGroup).first();
    EXPECT_TRUE(drop(*ignoredList, *drag(*ignoredList, { 0 }), -1));
    EXPECT_EQ(order(ignoredGroup), "Y Z X");
    EXPECT_EQ(undoName(), texts().undoActionForMovingIgnoreItems({ first }));
    EXPECT_EQ(saves, 1);
    context->undoManager().undo();
    EXPECT_EQ(order(ignoredGroup), "X Y Z");
}

// --- Files from the file manager ------------------------------------------------------------

TEST_F(ItemsDragAndDropTest, DroppedFilesBecomeItemsWithTheirPathsAsTheyAre)
{
    addFiles({ "A", "B" });
    startFresh();
    const QStringList paths { "/apps/with space", "/apps/quote\"s 'and'", "/apps/$HOME", "/apps/`id`", "/apps/100% done",
                              "/apps/new\nline" };
    QList<QUrl> urls { QUrl("https://example.com/tool"), QUrl("file://server/share/tool"), QUrl("sftp://host/tool") };
    for (const QString& path : paths)
        urls.append(QUrl::fromLocalFile(path));
    QMimeData data;
    data.setUrls(urls);
    ASSERT_TRUE(list().canDropMimeData(&data, Qt::CopyAction, 1, 0, {}));

    EXPECT_TRUE(drop(list(), data, 1, Qt::CopyAction));
    const QList<DBLoginItem*> after = items();
    ASSERT_EQ(after.size(), 8);
    QStringList stored;
    for (DBLoginItem* item : after.mid(1, 6))
        stored << static_cast<DBFileItem*>(item)->itemPath();
    EXPECT_EQ(stored, paths);
    EXPECT_EQ(static_cast<DBFileItem*>(after.last())->itemPath(), "/B");
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(undoName(), texts().undoActionForCreatingFileItems(after.mid(1, 6)));
    context->undoManager().undo();
    EXPECT_EQ(order(), "A B");
}

TEST_F(ItemsDragAndDropTest, AFileManagersUriListIsRead)
{
    startFresh();
    QMimeData data;
    data.setData("text/uri-list", "# from a file manager\r\nfile:///opt/My%20App/run\r\nhttp://example.com/x\r\n");
    EXPECT_TRUE(drop(list(), data, -1, Qt::CopyAction));
    EXPECT_EQ(order(), "opt/My App/run");
}

TEST_F(ItemsDragAndDropTest, DropsWithoutLocalFilesOrAsMovesChangeNothing)
{
    addFiles({ "A" });
    startFresh();
    QMimeData remote;
    remote.setUrls({ QUrl("https://example.com/tool"), QUrl("file://server/share/tool"), QUrl("file:relative/tool") });
    QMimeData local;
    local.setUrls({ QUrl::fromLocalFile("/apps/tool") });
    QMimeData text;
    text.setText("/apps/tool");

    EXPECT_FALSE(drop(list(), remote, 0, Qt::CopyAction));
    EXPECT_FALSE(drop(list(), text, 0, Qt::CopyAction));
    // A move would tell the file manager that its file is gone.
    EXPECT_FALSE(drop(list(), local, 0, Qt::MoveAction));
    // The ignored list takes item rows only.
    EXPECT_FALSE(ignoredList->mimeTypes().contains("text/uri-list"));
    EXPECT_FALSE(drop(*ignoredList, local, 0, Qt::CopyAction));
    EXPECT_EQ(order(), "A");
    EXPECT_EQ(order(ignoredGroup), "");
    EXPECT_FALSE(context->undoManager().canUndo());
    EXPECT_EQ(saves, 0);
}

// --- The list view -------------------------------------------------------------------------

// Drag and drop events as the list view gets them (the headless platform
// runs no real drag).
TEST_F(ItemsDragAndDropTest, TheListViewMovesEveryDraggedRowAndRemovesNone)
{
    addFiles({ "A", "B", "C", "D" });
    startFresh();
    page.resize(400, 400);
    page.show();
    QCoreApplication::processEvents();
    QListView* view = page.itemsTableView();
    EXPECT_EQ(view->dragDropMode(), QAbstractItemView::DragDrop);
    EXPECT_EQ(view->defaultDropAction(), Qt::MoveAction);
    EXPECT_FALSE(view->dragDropOverwriteMode());
    page.selectItems({ items()[0], items()[3] });

    // Just below the top edge of row 1: between rows 0 and 1, next to the
    // first dragged row.
    const QPoint at = view->visualRect(list().index(1)).topLeft() + QPoint(8, 1);
    const auto data = drag(list(), { 0, 3 });
    QDragEnterEvent enter(at, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view->viewport(), &enter);
    QDragMoveEvent move(at, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view->viewport(), &move);
    EXPECT_TRUE(move.isAccepted());
    QDropEvent dropped(at, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view->viewport(), &dropped);
    EXPECT_TRUE(dropped.isAccepted());
    EXPECT_EQ(dropped.dropAction(), Qt::MoveAction);

    EXPECT_EQ(order(), "A D B C");
    EXPECT_EQ(saves, 1);
    // The selection followed the rows; after a move the view asks the model
    // to remove the selected rows, which it refuses.
    EXPECT_EQ(page.selectedItems(), QList<DBLoginItem*>({ items()[0], items()[1] }));
    EXPECT_FALSE(list().removeRows(0, 2));
    EXPECT_EQ(list().rowCount(), 4);
    context->undoManager().undo();
    EXPECT_EQ(order(), "A B C D");
}

TEST_F(ItemsDragAndDropTest, RowsCannotBeDraggedWhileTheOwnerSaysSo)
{
    addFiles({ "A" });
    QCoreApplication::processEvents();
    bool running = true;
    LoginItemsListModel rows(*context, group);
    EXPECT_FALSE(rows.flags(rows.index(0)).testFlag(Qt::ItemIsDragEnabled));
    rows.enableDragAndDrop(pane, [&running] { return !running; });
    EXPECT_FALSE(rows.flags(rows.index(0)).testFlag(Qt::ItemIsDragEnabled));
    EXPECT_EQ(drag(rows, { 0 }), nullptr);
    running = false;
    EXPECT_TRUE(rows.flags(rows.index(0)).testFlag(Qt::ItemIsDragEnabled));
    EXPECT_NE(drag(rows, { 0 }), nullptr);
    // The page's rows, with no run going on.
    EXPECT_TRUE(list().flags(list().index(0)).testFlag(Qt::ItemIsDragEnabled));
}

TEST_F(ItemsDragAndDropTest, ADropInSimulationModeTakesTheNewOrderIntoTheSimulation)
{
    addFiles({ "A", "B", "C" });
    startFresh();
    page.changeToLaunchSimulationMode(true);
    QCoreApplication::processEvents();
    const std::shared_ptr<ExecutionValidationParameters> parameters = page.bottomBars()->launchSimulationParameters();
    ASSERT_NE(parameters, nullptr);

    EXPECT_TRUE(drop(list(), *drag(list(), { 2 }), 0));
    EXPECT_EQ(order(), "C A B");
    EXPECT_EQ(parameters->availableItems(), items());
    EXPECT_EQ(page.itemsModel()->runStates().parameters(), parameters);
}

} // namespace
