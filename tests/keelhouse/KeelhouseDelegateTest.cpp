// The order of the callbacks of each operation, over an in-memory list.
#include "FakeLoginItemsList.h"
#include "RecordingServer.h"

#include "foundation/MHDebugOptions.h"
#include "foundation/MHItemDataKeys.h"
#include "keelhouse/KeelhouseBus.h"
#include "keelhouse/KeelhouseDelegate.h"

#include <gtest/gtest.h>

namespace {

QVariantMap fileItem(const QString& path, const QString& name = {})
{
    QVariantMap item { { MHItemDataKeys::type, QStringLiteral("file") }, { MHItemDataKeys::path, path } };
    if (!name.isEmpty())
        item.insert(MHItemDataKeys::name, name);
    return item;
}

QVariantMap delayItem()
{
    return { { MHItemDataKeys::type, QStringLiteral("delay") }, { MHItemDataKeys::delay, 5 } };
}

class KeelhouseDelegateTest : public testing::Test {
protected:
    KeelhouseDelegateTest()
        : delegate([this](const std::optional<QString>& desktop) {
            desktops.append(desktop);
            return std::make_unique<LoginItemsHandler>(std::make_unique<FakeLoginItemsList>(state)); })
    {
        session.server = server;
    }

    void addOwnEntry()
    {
        LoginItemEntry own;
        own.ref = QStringLiteral("fake:own");
        own.name = QStringLiteral("Lanternwick");
        own.path = own.program = QStringLiteral("/opt/lw/lanternwick");
        state->entries.append(own);
    }

    // The desktop each list was made for.
    QList<std::optional<QString>> desktops;
    std::shared_ptr<FakeListState> state = std::make_shared<FakeListState>();
    std::shared_ptr<RecordingServer> server = std::make_shared<RecordingServer>();
    KeelhouseSession session;
    KeelhouseDelegate delegate;
    const QString bundle = QStringLiteral("/opt/lw/lanternwick");
};

TEST_F(KeelhouseDelegateTest, ReadOfEmptyListCreatesTheOwnEntry)
{
    delegate.readSystemItemsWithIgnoredItems(session, {}, {}, bundle);
    EXPECT_EQ(server->calls, QStringList({ "KeelhouseDidBeginReading", "KeelhouseDidBeginHandlingLanternwick /opt/lw/lanternwick",
                                          "KeelhouseDidBeginCreatingItem /opt/lw/lanternwick", "KeelhouseDidEndCreatingItem /opt/lw/lanternwick",
                                          "KeelhouseDidEndHandlingLanternwick /opt/lw/lanternwick", "KeelhouseDidEndReading" }));
    ASSERT_EQ(state->entries.size(), 1);
    EXPECT_EQ(state->entries[0].path, bundle);
    // Named as the application, not as its executable file.
    EXPECT_EQ(state->entries[0].name, "Lanternwick");
    EXPECT_FALSE(state->entries[0].hidden);
}

TEST_F(KeelhouseDelegateTest, ReadReportsEachEntryOnceAndRemovesOnlyApplicationItems)
{
    state->add("Ignored", "/apps/ignored");
    addOwnEntry();
    state->add("Mine", "/apps/mine");
    state->add("Broken", {}, ENOENT);
    state->add("Stranger", "/apps/stranger");
    // Shares only the display name with an application item: not the same item.
    state->add("Mine", "/apps/other-mine");

    delegate.readSystemItemsWithIgnoredItems(session, { fileItem("/apps/ignored") }, { fileItem("/apps/mine", "Mine"), fileItem("/apps/ignored") }, bundle);

    EXPECT_EQ(server->calls, QStringList({
        "KeelhouseDidBeginReading",
        "KeelhouseDidBeginReadingItem /apps/ignored", "KeelhouseDidFindIgnoredItem /apps/ignored", "KeelhouseDidEndReadingItem /apps/ignored",
        "KeelhouseDidBeginReadingItem /opt/lw/lanternwick", "KeelhouseDidFindLanternwick /opt/lw/lanternwick", "KeelhouseDidEndReadingItem /opt/lw/lanternwick",
        "KeelhouseDidBeginReadingItem /apps/mine", "KeelhouseDidFindApplicationItem /apps/mine", "KeelhouseDidEndReadingItem /apps/mine",
        "KeelhouseDidBeginReadingItem Broken", "KeelhouseDidFailReadingItem Broken", "KeelhouseDidFailItem Broken", "KeelhouseDidEndReadingItem Broken",
        "KeelhouseDidBeginReadingItem /apps/stranger", "KeelhouseDidFindUnknownItem /apps/stranger", "KeelhouseDidEndReadingItem /apps/stranger",
        "KeelhouseDidBeginReadingItem /apps/other-mine", "KeelhouseDidFindUnknownItem /apps/other-mine", "KeelhouseDidEndReadingItem /apps/other-mine",
        "KeelhouseDidEndReading" }));
    EXPECT_EQ(state->countWithPath("/apps/mine"), 0);
    EXPECT_EQ(state->countWithPath("/apps/other-mine"), 1);
    EXPECT_EQ(state->countWithPath("/apps/ignored"), 1);
    for (const QVariantMap& item : std::as_const(server->items)) {
        EXPECT_FALSE(item.contains(MHKeelhouseKeys::ref));
        EXPECT_EQ(item.contains(MHKeelhouseKeys::error), item.value(MHKeelhouseKeys::name) == "Broken");
    }
}

TEST_F(KeelhouseDelegateTest, ReadDoesNotTakeAnEntryMerelyNamedLikeTheApplicationForItsOwn)
{
    state->add("Lanternwick Helper", "/apps/helper");
    delegate.readSystemItemsWithIgnoredItems(session, {}, {}, bundle);
    EXPECT_TRUE(server->calls.contains("KeelhouseDidFindUnknownItem /apps/helper"));
    EXPECT_TRUE(server->calls.contains("KeelhouseDidBeginHandlingLanternwick /opt/lw/lanternwick"));
}

TEST_F(KeelhouseDelegateTest, FailedRemovalIsReportedOnItsEntryAndNotCarriedToTheNext)
{
    state->add("Mine", "/apps/mine");
    state->add("Stranger", "/apps/stranger");
    state->failingRemoveRefs.insert(state->entries[0].ref);
    addOwnEntry();

    delegate.readSystemItemsWithIgnoredItems(session, {}, { fileItem("/apps/mine") }, bundle);

    EXPECT_EQ(server->calls.mid(1, 6), QStringList({ "KeelhouseDidBeginReadingItem /apps/mine", "KeelhouseDidFindApplicationItem /apps/mine",
                                                    "KeelhouseDidFailDeletingItem /apps/mine", "KeelhouseDidFailItem /apps/mine",
                                                    "KeelhouseDidEndReadingItem /apps/mine", "KeelhouseDidBeginReadingItem /apps/stranger" }));
    for (const QVariantMap& item : std::as_const(server->items))
        EXPECT_FALSE(item.contains(MHKeelhouseKeys::error)) << item.value(MHKeelhouseKeys::path).toString().toStdString();
}

TEST_F(KeelhouseDelegateTest, CreateAddsNewItemsOnlyAndReportsFailuresOnTheirItem)
{
    state->add("Existing", "/apps/existing");
    state->failingInsertPaths.insert("/apps/failing");
    delegate.createSystemItemsWithItems(session, { QVariantMap { { "path", "/apps/new" }, { "name", "New" } },
                                                   QVariantMap { { "path", "/apps/existing" } }, QVariantMap { { "path", "/apps/failing" } } });
    EXPECT_EQ(server->calls, QStringList({ "KeelhouseDidBeginCreating", "KeelhouseDidBeginCreatingItem /apps/new", "KeelhouseDidEndCreatingItem /apps/new",
                                          "KeelhouseDidBeginCreatingItem /apps/failing", "KeelhouseDidFailCreatingItem /apps/failing",
                                          "KeelhouseDidFailItem /apps/failing", "KeelhouseDidEndCreatingItem /apps/failing", "KeelhouseDidEndCreating" }));
    EXPECT_EQ(state->countWithPath("/apps/existing"), 1);
    EXPECT_EQ(state->countWithPath("/apps/new"), 1);
    EXPECT_EQ(state->entries.last().name, "New");
}

TEST_F(KeelhouseDelegateTest, DeleteRemovesExactlyTheEntriesAskedFor)
{
    state->add("Same", "/apps/one");
    state->add("Same", "/apps/two");
    state->add("Gone", {}, ENOENT);
    delegate.deleteSystemItemsWithItems(session, { QVariantMap { { "path", "/apps/two" }, { "name", "Same" } }, QVariantMap { { "name", "Gone" } } });
    EXPECT_EQ(server->calls, QStringList({ "KeelhouseDidBeginReading", "KeelhouseDidEndReading", "KeelhouseDidBeginDeleting",
                                          "KeelhouseDidBeginDeletingItem /apps/two", "KeelhouseDidEndDeletingItem /apps/two",
                                          "KeelhouseDidBeginDeletingItem Gone", "KeelhouseDidEndDeletingItem Gone", "KeelhouseDidEndDeleting" }));
    ASSERT_EQ(state->entries.size(), 1);
    EXPECT_EQ(state->entries[0].path, "/apps/one");
}

TEST_F(KeelhouseDelegateTest, UninstallWalksTheWholeListAndHandsEachItemBackOnce)
{
    state->add("Before", "/apps/before");
    addOwnEntry();
    state->add("After", "/apps/after");
    session.lanternwickPath = bundle;

    delegate.uninstallLanternwickWithIgnoredItems(session, {}, { fileItem("/apps/before"), fileItem("/apps/after"), fileItem("/apps/missing"), delayItem() });

    EXPECT_EQ(server->calls, QStringList({
        "KeelhouseDidBeginUninstalling",
        "KeelhouseDidBeginUninstallingItem /apps/before", "KeelhouseDidEndUninstallingItem /apps/before",
        "KeelhouseDidBeginHandlingLanternwick /opt/lw/lanternwick", "KeelhouseDidBeginUninstallingItem /opt/lw/lanternwick",
        "KeelhouseDidEndUninstallingItem /opt/lw/lanternwick", "KeelhouseDidEndHandlingLanternwick /opt/lw/lanternwick",
        "KeelhouseDidBeginUninstallingItem /apps/after", "KeelhouseDidEndUninstallingItem /apps/after",
        "KeelhouseDidBeginUninstallingItem /apps/missing", "KeelhouseDidBeginCreatingItem /apps/missing",
        "KeelhouseDidEndCreatingItem /apps/missing", "KeelhouseDidEndUninstallingItem /apps/missing",
        "KeelhouseDidBeginUninstallingItem ", "KeelhouseDidEndUninstallingItem ",
        "KeelhouseDidEndUninstalling" }));
    EXPECT_EQ(state->countWithPath(bundle), 0);
    EXPECT_EQ(state->countWithPath("/apps/after"), 1);
    EXPECT_EQ(state->countWithPath("/apps/missing"), 1);
}

TEST_F(KeelhouseDelegateTest, PreventedRequestsAndMissingListSendOnlyWhatTheyMust)
{
    session.debugOptions = { { MHDebugOptions::PreventSystemItemsReading, true }, { MHDebugOptions::PreventSystemItemsCreating, true },
                             { MHDebugOptions::PreventSystemItemsDeleting, true }, { MHDebugOptions::PreventUninstallingLanternwick, true } };
    delegate.readSystemItemsWithIgnoredItems(session, {}, {}, bundle);
    delegate.createSystemItemsWithItems(session, { QVariantMap { { "path", "/apps/x" } } });
    delegate.deleteSystemItemsWithItems(session, {});
    delegate.uninstallLanternwickWithIgnoredItems(session, {}, {});
    EXPECT_TRUE(server->calls.isEmpty());
    EXPECT_TRUE(state->entries.isEmpty());

    KeelhouseDelegate broken([](const std::optional<QString>&) { return nullptr; });
    session.debugOptions.clear();
    broken.readSystemItemsWithIgnoredItems(session, {}, {}, bundle);
    EXPECT_EQ(server->calls, QStringList({ "KeelhouseDidFailInitializingItemsHandler" }));
}

// The list is judged for the desktop the client runs in, when it said.
TEST_F(KeelhouseDelegateTest, TheListIsMadeForTheClientsDesktop)
{
    delegate.readSystemItemsWithIgnoredItems(session, {}, {}, bundle);
    session.debugOptions.insert(KeelhouseBus::currentDesktopOption, "KDE");
    delegate.createSystemItemsWithItems(session, {});
    session.debugOptions.insert(KeelhouseBus::currentDesktopOption, "");
    delegate.deleteSystemItemsWithItems(session, {});
    EXPECT_EQ(desktops, QList<std::optional<QString>>({ std::nullopt, QString("KDE"), QString() }));
}

} // namespace
