#include "StorageTestFixture.h"
#include "foundation/MHErrors.h"
#include "model/DBConditionalPreviousItem.h"
#include "model/DBDelayItem.h"
#include "model/DBFileItem.h"
#include "model/DBHotkeyConditionData.h"
#include "model/DBNetworkConditionData.h"
#include "model/DBPowerSourceConditionData.h"
#include "model/DBVolumeConditionData.h"
#include "model/DBWaitPreviousItem.h"
#include "model/ExecutionValidationParameters.h"
#include "model/MHTextStorageKeys.h"

namespace {

class DatabaseSerializerTest : public StorageTest {
protected:
    DBStartupCondition* schedule(const QString& name, const QList<std::tuple<int, QDateTime, QDateTime>>& entries)
    {
        DBStartupCondition* condition = context.createScheduledStartupConditionWithDefaultScheduleItem(false);
        condition->setConditionName(name);
        for (qsizetype i = 0; i < entries.size(); ++i) {
            DBScheduledConditionDataItem* entry = context.createScheduledConditionDataItem();
            entry->setScheduleDayValue(std::get<0>(entries[i]));
            entry->setScheduleFromTime(std::get<1>(entries[i]));
            entry->setScheduleToTime(std::get<2>(entries[i]));
            entry->setScheduleSortIndexValue(int32_t(i));
            entry->setScheduleConditionData(condition->conditionScheduledData());
        }
        return condition;
    }

    void add(DBLoginItem* item, DBLoginGroup* group, const QList<DBStartupCondition*>& conditions = {})
    {
        item->setItemSortIndexValue(int32_t(group->groupLoginItems().size()));
        item->setItemLoginGroup(group);
        for (DBStartupCondition* condition : conditions)
            item->addItemStartupConditionsObject(condition);
    }

    // Every kind of item and condition, shared conditions and absent values.
    void buildEveryFeature()
    {
        DBStartupCondition* work = schedule("Work", { { ScheduleDayWeekDay, timeOfDay(9, 0), timeOfDay(17, 30) },
                                                      { ScheduleDaySaturday, timeOfDay(10, 15), timeOfDay(12, 0) },
                                                      { ScheduleDayEveryDay, timeOfDay(0, 0), timeOfDay(23, 59) } });
        DBStartupCondition* hotkey = context.createHotkeyStartupCondition();
        hotkey->setConditionName("Command up");
        hotkey->conditionHotkeyData()->setHotkeyCombinationValue(HotkeyCombinationCommand);
        hotkey->conditionHotkeyData()->setHotkeyStatusValue(HotkeyStatusNotPressed);
        DBStartupCondition* battery = context.createPowerSourceStartupCondition();
        battery->setConditionName("On battery");
        battery->conditionPowerSourceData()->setPowerSourceTypeValue(PowerSourceTypeBattery);
        DBStartupCondition* volume = context.createMountedVolumeStartupCondition();
        volume->setConditionName("Backup <disk> & \"more\"");
        volume->conditionVolumeData()->setVolumePath("/media/me/Backup disk $HOME `x` 100%");
        volume->conditionVolumeData()->setVolumeStatusValue(VolumeStatusNotMounted);
        DBStartupCondition* wifi = context.createNetworkStartupCondition();
        wifi->setConditionName("Home Wi-Fi");
        wifi->conditionNetworkData()->setNetworkName("Home \"net\"");
        wifi->conditionNetworkData()->setNetworkModeValue(NetworkModeNot);
        wifi->conditionNetworkData()->setNetworkStatusValue(NetworkStatusConnected);
        DBStartupCondition* internet = context.createNetworkStartupCondition();
        internet->setConditionName("Online");
        const QList<DBStartupCondition*> all { work, hotkey, battery, volume, wifi, internet };
        for (qsizetype i = 0; i < all.size(); ++i)
            all[i]->setConditionSortIndexValue(int32_t(i));

        DBLoginGroup* applications = context.getOrCreateApplicationLoginGroup();
        DBLoginGroup* ignored = context.getOrCreateIgnoreLoginGroup();
        add(context.createFileItemWithPath("/usr/share/applications/mail.desktop"), applications, { internet, work });
        DBFileItem* hidden = context.createFileItemWithPath("/home/me/My \"Notes\"\nsecond line.txt");
        hidden->setItemStartupModeValue(ItemStartupModeHidden);
        add(hidden, applications, { work, hotkey, battery, volume, wifi });
        add(context.createDelayItemWithDelay(2.75), applications);
        add(context.createWaitPreviousItem(), applications, { battery });
        add(context.createConditionalPreviousItemWithMode(int32_t(ConditionalPreviousItemModeIfNotLaunched)), applications);
        add(context.createConditionalPreviousItemWithMode(QVariant()), applications);
        DBFileItem* disabled = context.createFileItemWithPath("/opt/tool");
        disabled->setItemStartupModeValue(ItemStartupModeDisabled);
        add(disabled, ignored, { internet });
        add(context.createDelayItemWithDelay(0.1), ignored);
    }

    QVariantMap storedRoot() { return PropertyList::dictionaryFromFile(store).value_or(QVariantMap()); }
};

TEST_F(DatabaseSerializerTest, EveryFeatureRoundTripsAndSavesIdentically)
{
    buildEveryFeature();
    const QString before = dumpContext(context);
    Error error;
    ASSERT_TRUE(makeSerializer()->saveDatabaseFromManagedObjectContext(context, &error)) << error.logDescription().toStdString();
    const QByteArray firstBytes = fileBytes(store);

    FakeModelTexts otherTexts;
    ObjectContext loaded(otherTexts);
    const auto serializer = makeSerializer();
    ASSERT_TRUE(serializer->loadDatabaseToManagedObjectContext(loaded, &error)) << error.logDescription().toStdString();
    EXPECT_EQ(dumpContext(loaded), before);

    ASSERT_TRUE(serializer->saveDatabaseFromManagedObjectContext(loaded, &error));
    EXPECT_EQ(fileBytes(store), firstBytes);
}

TEST_F(DatabaseSerializerTest, WorkedExampleHasTheDocumentedStructure)
{
    DBStartupCondition* work = schedule("Work", { { ScheduleDayWeekDay, timeOfDay(9, 0), timeOfDay(17, 0) } });
    work->setConditionSortIndexValue(0);
    DBStartupCondition* shift = context.createHotkeyStartupCondition();
    shift->setConditionName("Shift held");
    shift->setConditionSortIndexValue(1);
    shift->conditionHotkeyData()->setHotkeyCombinationValue(HotkeyCombinationShift);
    shift->conditionHotkeyData()->setHotkeyStatusValue(HotkeyStatusPressed);
    DBLoginGroup* applications = context.getOrCreateApplicationLoginGroup();
    add(context.createFileItemWithPath("/usr/share/applications/mail.desktop"), applications, { work });
    add(context.createDelayItemWithDelay(5), applications);
    add(context.createConditionalPreviousItemWithMode(int32_t(1)), applications);

    ASSERT_TRUE(makeSerializer()->saveDatabaseFromManagedObjectContext(context, nullptr));

    const QVariantMap expected {
        { "version", qint64(5) },
        { "conditions", QVariantList {
              QVariantMap { { "name", "Work" }, { "type", "schedule" },
                            { "schedules", QVariantList { QVariantMap { { "day", qint64(7) }, { "from", timeOfDay(9, 0) }, { "to", timeOfDay(17, 0) } } } } },
              QVariantMap { { "name", "Shift held" }, { "type", "hotkey" }, { "hotkeyCombination", qint64(2) }, { "hotkeyStatus", qint64(0) } } } },
        { "application", QVariantList {
              QVariantMap { { "type", "file" }, { "path", "/usr/share/applications/mail.desktop" }, { "startupMode", "shown" },
                            { "conditions", QVariantList { qint64(0) } } },
              QVariantMap { { "type", "delay" }, { "delay", 5.0 } },
              QVariantMap { { "type", "conditionalPrevious" }, { "mode", qint64(1) } } } },
    };
    EXPECT_EQ(storedRoot(), expected);
    EXPECT_EQ(storedRoot().value("application").toList().at(1).toMap().value("delay").typeId(), QMetaType::Double);
}

TEST_F(DatabaseSerializerTest, EmptyDatabaseWritesOnlyTheVersionAndLoadsEmptyGroups)
{
    ASSERT_TRUE(makeSerializer()->saveDatabaseFromManagedObjectContext(context, nullptr));
    EXPECT_EQ(storedRoot(), (QVariantMap { { "version", qint64(5) } }));

    ObjectContext loaded(texts);
    ASSERT_TRUE(makeSerializer()->loadDatabaseToManagedObjectContext(loaded, nullptr));
    EXPECT_EQ(loaded.fetch<DBLoginGroup>().size(), 2);
    EXPECT_TRUE(loaded.fetch<DBLoginItem>().isEmpty());
    EXPECT_TRUE(loaded.fetch<DBStartupCondition>().isEmpty());
}

TEST_F(DatabaseSerializerTest, SharedConditionIsWrittenOnceAndReferencedByBoth)
{
    DBStartupCondition* shared = context.createPowerSourceStartupCondition();
    DBLoginGroup* applications = context.getOrCreateApplicationLoginGroup();
    add(context.createWaitPreviousItem(), applications, { shared });
    add(context.createDelayItemWithDelay(1), context.getOrCreateIgnoreLoginGroup(), { shared });
    ASSERT_TRUE(makeSerializer()->saveDatabaseFromManagedObjectContext(context, nullptr));

    const QVariantMap root = storedRoot();
    EXPECT_EQ(root.value("conditions").toList().size(), 1);
    const QVariantList zero { qint64(0) };
    EXPECT_EQ(root.value("application").toList().at(0).toMap().value("conditions").toList(), zero);
    EXPECT_EQ(root.value("ignored").toList().at(0).toMap().value("conditions").toList(), zero);

    ObjectContext loaded(texts);
    ASSERT_TRUE(makeSerializer()->loadDatabaseToManagedObjectContext(loaded, nullptr));
    EXPECT_EQ(loaded.fetch<DBStartupCondition>().at(0)->conditionLoginItems().size(), 2);
}

TEST_F(DatabaseSerializerTest, LoadingRenumbersSortIndexesInFileOrder)
{
    DBLoginGroup* applications = context.getOrCreateApplicationLoginGroup();
    DBDelayItem* late = context.createDelayItemWithDelay(3);
    late->setItemSortIndexValue(40);
    late->setItemLoginGroup(applications);
    DBDelayItem* early = context.createDelayItemWithDelay(1);
    early->setItemSortIndexValue(-7);
    early->setItemLoginGroup(applications);
    ASSERT_TRUE(makeSerializer()->saveDatabaseFromManagedObjectContext(context, nullptr));

    ObjectContext loaded(texts);
    ASSERT_TRUE(makeSerializer()->loadDatabaseToManagedObjectContext(loaded, nullptr));
    const QList<DBLoginItem*> items = loaded.sortedLoginItemsForGroup(loaded.getOrCreateApplicationLoginGroup());
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(static_cast<DBDelayItem*>(items[0])->itemDelayValue(), 1);
    EXPECT_EQ(items[0]->itemSortIndexValue(), 0);
    EXPECT_EQ(items[1]->itemSortIndexValue(), 1);
}

TEST_F(DatabaseSerializerTest, StartupModeWordsAreExactAndOthersLoadAsShown)
{
    writeBytes(store, R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict><key>application</key><array>
<dict><key>type</key><string>file</string><key>path</key><string>/a</string><key>startupMode</key><string>Hidden</string></dict>
<dict><key>type</key><string>file</string><key>path</key><string>/b</string><key>startupMode</key><string>disabled</string></dict>
<dict><key>type</key><string>file</string><key>path</key><string>/c</string></dict>
</array><key>future</key><string>ignored key</string></dict></plist>)");
    ASSERT_TRUE(makeSerializer()->loadDatabaseToManagedObjectContext(context, nullptr));
    QList<int32_t> modes;
    for (DBLoginItem* item : context.sortedLoginItemsForGroup(context.getOrCreateApplicationLoginGroup()))
        modes << static_cast<DBFileItem*>(item)->itemStartupModeValue();
    EXPECT_EQ(modes, (QList<int32_t> { ItemStartupModeShown, ItemStartupModeDisabled, ItemStartupModeShown }));
}

TEST_F(DatabaseSerializerTest, HarmlessOddValuesLoadInsteadOfLockingTheUserOut)
{
    writeBytes(store, R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict><key>conditions</key><array><dict><key>type</key><string>hotkey</string></dict></array>
<key>application</key><array>
<dict><key>type</key><string>file</string><key>path</key><string>/a</string><key>startupMode</key><integer>1</integer></dict>
<dict><key>type</key><string>waitPrevious</string><key>conditions</key><array><integer>0</integer><integer>0</integer></array></dict>
</array></dict></plist>)");
    Error error;
    ASSERT_TRUE(makeSerializer()->loadDatabaseToManagedObjectContext(context, &error)) << error.logDescription().toStdString();
    const QList<DBLoginItem*> items = context.sortedLoginItemsForGroup(context.getOrCreateApplicationLoginGroup());
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(static_cast<DBFileItem*>(items[0])->itemStartupModeValue(), ItemStartupModeShown);
    EXPECT_EQ(items[1]->itemStartupConditions(), context.sortedStartupConditions());
}

TEST_F(DatabaseSerializerTest, ADelayNoCountdownCanEndLoadsAsNoDelay)
{
    writeBytes(store, R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict><key>application</key><array>
<dict><key>type</key><string>delay</string><key>delay</key><real>+infinity</real></dict>
<dict><key>type</key><string>delay</string><key>delay</key><real>nan</real></dict>
<dict><key>type</key><string>delay</string><key>delay</key><real>-1</real></dict>
<dict><key>type</key><string>delay</string><key>delay</key><real>1e300</real></dict>
</array></dict></plist>)");
    Error error;
    ASSERT_TRUE(makeSerializer()->loadDatabaseToManagedObjectContext(context, &error)) << error.logDescription().toStdString();
    QList<double> delays;
    for (const DBLoginItem* item : context.sortedLoginItemsForGroup(context.getOrCreateApplicationLoginGroup()))
        delays.append(static_cast<const DBDelayItem*>(item)->itemDelayValue());
    EXPECT_EQ(delays, (QList<double> { 0, 0, 0, 1e300 }));
}

TEST_F(DatabaseSerializerTest, ConditionOfUnknownTypeIsKeptWrittenBackUnchangedAndRefuses)
{
    const QVariantMap future { { "name", "Future" }, { "type", "bluetooth" }, { "device", "Headphones" }, { "paired", true },
                               { "seen", QDateTime(QDate(2031, 3, 4), QTime(5, 6, 7), Qt::UTC) }, { "key", QByteArray("\x01\x02") },
                               { "options", QVariantMap { { "levels", QVariantList { qint64(1), 2.5 } } } } };
    const QVariantMap untyped { { "name", "Untyped" }, { "extra", qint64(3) } };
    const QVariantMap numbered { { "name", "Numbered" }, { "type", qint64(9) } };
    const QVariantMap numberedKnown { { "type", qint64(2) } };
    const QVariantMap battery { { "name", "battery" }, { "type", "powerSource" }, { "powerSourceType", qint64(1) } };
    const QVariantMap root { { "version", qint64(5) }, { "conditions", QVariantList { future, untyped, numbered, numberedKnown, battery } },
                             { "application", QVariantList { QVariantMap { { "type", "waitPrevious" }, { "conditions", QVariantList { qint64(0), qint64(4) } } } } } };
    ASSERT_TRUE(PropertyList::toFile(root, store));

    const auto serializer = makeSerializer();
    Error error;
    ASSERT_TRUE(serializer->loadDatabaseToManagedObjectContext(context, &error)) << error.logDescription().toStdString();
    const QList<DBStartupCondition*> loaded = context.sortedStartupConditions();
    ASSERT_EQ(loaded.size(), 5);
    EXPECT_EQ(loaded[2]->conditionTypeValue(), 9);
    EXPECT_EQ(context.fetch<DBLoginItem>().at(0)->itemStartupConditions().size(), 2);
    const auto parameters = ExecutionValidationParameters::create();
    for (const DBStartupCondition* condition : loaded.first(4))
        EXPECT_FALSE(condition->isExecutionAllowedForParameters(*parameters)) << condition->conditionName().toStdString();

    // Renamed by the user, then saved: everything else goes back as it came.
    loaded[0]->setConditionName("Later");
    ASSERT_TRUE(serializer->saveDatabaseFromManagedObjectContext(context, &error));
    QVariantMap renamed = future;
    renamed.insert("name", "Later");
    EXPECT_EQ(PropertyList::toData(storedRoot().value("conditions"))->toStdString(), PropertyList::toData(QVariantList { renamed, untyped, numbered, numberedKnown, battery })->toStdString());
    EXPECT_EQ(storedRoot().value("application"), root.value("application"));
}

TEST_F(DatabaseSerializerTest, ConditionOfATypeWithoutAWordKeepsItsType)
{
    DBStartupCondition* odd = DBStartupCondition::createStartupConditionOfType(7, context);
    odd->setConditionSortIndexValue(0);
    add(context.createWaitPreviousItem(), context.getOrCreateApplicationLoginGroup(), { odd });
    ASSERT_TRUE(makeSerializer()->saveDatabaseFromManagedObjectContext(context, nullptr));
    ObjectContext loaded(texts);
    ASSERT_TRUE(makeSerializer()->loadDatabaseToManagedObjectContext(loaded, nullptr));
    ASSERT_EQ(loaded.sortedStartupConditions().size(), 1);
    EXPECT_EQ(loaded.sortedStartupConditions().at(0)->conditionTypeValue(), 7);
    EXPECT_EQ(loaded.fetch<DBLoginItem>().at(0)->itemStartupConditions(), loaded.sortedStartupConditions());
}

TEST_F(DatabaseSerializerTest, LoadingIsNoUndoableChangeAndLeavesTheContextSaved)
{
    buildEveryFeature();
    ASSERT_TRUE(makeSerializer()->saveDatabaseFromManagedObjectContext(context, nullptr));

    for (const bool withFile : { true, false }) {
        if (!withFile)
            QFile::remove(store);
        ObjectContext loaded(texts);
        ASSERT_TRUE(makeSerializer()->loadDatabaseToManagedObjectContext(loaded, nullptr));
        finishPass();
        EXPECT_FALSE(loaded.hasChanges());
        EXPECT_FALSE(loaded.undoManager().canUndo());
        EXPECT_TRUE(loaded.undoManager().isUndoRegistrationEnabled());

        // The first user edit undoes alone: both groups stay.
        loaded.createWaitPreviousItem()->setItemLoginGroup(loaded.getOrCreateApplicationLoginGroup());
        finishPass();
        loaded.undoManager().undo();
        EXPECT_EQ(loaded.fetch<DBLoginGroup>().size(), 2);
        EXPECT_FALSE(loaded.undoManager().canUndo());
    }
}

TEST_F(DatabaseSerializerTest, SavingAFreshContextRegistersNoUndoForTheGroups)
{
    ASSERT_TRUE(makeSerializer()->saveDatabaseFromManagedObjectContext(context, nullptr));
    finishPass();
    EXPECT_FALSE(undo.canUndo());
    EXPECT_FALSE(context.hasChanges());
}

TEST_F(DatabaseSerializerTest, ContentsOfABackupFileForTheRestoreDialog)
{
    const auto serializer = makeSerializer();
    Error error(QStringLiteral("stale"), 1, QString());
    EXPECT_FALSE(serializer->databaseContentsFromFile(folder + "/none.plist", &error));
    EXPECT_TRUE(error.domain().isEmpty());

    writeBytes(sessionBackup, R"(<?xml version="1.0" encoding="UTF-8"?><plist version="1.0"><array/></plist>)");
    EXPECT_FALSE(serializer->databaseContentsFromFile(sessionBackup, &error));
    EXPECT_EQ(error.domain(), MHErrors::domain);
    EXPECT_EQ(error.code(), MHErrors::MHErrorCodeTextStorageLoadingFailed);
    EXPECT_EQ(error.description(), texts.errorDescriptionForFailedTextStorageLoading());

    buildEveryFeature();
    ASSERT_TRUE(serializer->saveDatabaseFromManagedObjectContext(context, nullptr));
    const auto contents = serializer->databaseContentsFromFile(store, &error);
    ASSERT_TRUE(contents);
    EXPECT_EQ(contents->value(MHTextStorageKeys::application).toList().size(), 6);
}

} // namespace

// The whole value space of the model: every enumeration at the ends of its
// 32-bit range and around the values in use, dates from year 1 to 9999,
// strings of every class of code point the file can carry, delays from the
// smallest to the largest finite one. Load, save, load gives the same database.
TEST_F(DatabaseSerializerTest, EveryValueTheModelCanHoldLoadsSavesAndLoadsTheSame)
{
    const QList<int32_t> enumerations { std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::min() + 1, -2, -1, 0, 1, 2, 3,
                                        4, 5, 6, 7, 8, 9, 10, 11, 1000, std::numeric_limits<int32_t>::max() - 1, std::numeric_limits<int32_t>::max() };
    const QList<QDateTime> dates {
        QDateTime(QDate(1, 1, 1), QTime(0, 0), Qt::UTC), QDateTime(QDate(999, 12, 31), QTime(23, 59, 59), Qt::UTC),
        QDateTime(QDate(1901, 12, 13), QTime(20, 45, 51), Qt::UTC), QDateTime(QDate(1932, 12, 13), QTime(20, 45, 51), Qt::UTC),
        QDateTime(QDate(2006, 10, 1), QTime(2, 30), Qt::UTC), QDateTime(QDate(2038, 1, 19), QTime(3, 14, 8), Qt::UTC),
        QDateTime(QDate(2069, 1, 19), QTime(3, 14, 8), Qt::UTC), QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59), Qt::UTC),
    };
    const QStringList strings {
        QString(""), QStringLiteral("plain ASCII ~!@#$%^*()_+`-={}|[]\\:;'?,./"), QStringLiteral("<xml> & \"quotes\" 'apostrophes'"),
        QStringLiteral("tab\there\nnewline\rreturn\r\n"), QStringLiteral("  leading and trailing  "), QStringLiteral("C1 \u0080\u0085\u009F DEL \x7F"),
        QStringLiteral("Latin-1 \u00E9\u00DF\u00FF, NBSP\u00A0"), QStringLiteral("Greek \u03A9 Cyrillic \u0416 Hebrew \u05D0 Arabic \u0628"),
        QStringLiteral("CJK \u65E5\u672C Hangul \uD55C"), QStringLiteral("combining e\u0301 zero width \u200B\u200D BOM \uFEFF"),
        QStringLiteral("private \uE000 last BMP \uFFFD"), QString::fromUcs4(U"astral \U0001F600 \U00020000 \U0010FFFD"),
        QStringLiteral("$HOME `cmd` %s %1 \\n"),
    };
    const QList<double> delays { 0, std::numeric_limits<double>::denorm_min(), 0.1, 1.0 / 3, 2.75, 86400 * 365.25, 1e300,
                                 std::numeric_limits<double>::max() };

    DBLoginGroup* applications = context.getOrCreateApplicationLoginGroup();
    DBLoginGroup* ignored = context.getOrCreateIgnoreLoginGroup();
    QList<DBStartupCondition*> conditions;
    for (const int32_t value : enumerations) {
        DBStartupCondition* hotkey = context.createHotkeyStartupCondition();
        hotkey->conditionHotkeyData()->setHotkeyCombinationValue(value);
        hotkey->conditionHotkeyData()->setHotkeyStatusValue(value);
        DBStartupCondition* power = context.createPowerSourceStartupCondition();
        power->conditionPowerSourceData()->setPowerSourceTypeValue(value);
        DBStartupCondition* volume = context.createMountedVolumeStartupCondition();
        volume->conditionVolumeData()->setVolumeStatusValue(value);
        DBStartupCondition* network = context.createNetworkStartupCondition();
        network->conditionNetworkData()->setNetworkModeValue(value);
        network->conditionNetworkData()->setNetworkStatusValue(value);
        conditions << hotkey << power << volume << network;
        if (value < StartupConditionTypeScheduled || value > StartupConditionTypeNetwork)
            conditions << DBStartupCondition::createStartupConditionOfType(value, context);
        DBFileItem* file = context.createFileItemWithPath("/usr/bin/tool");
        file->setItemStartupModeValue(value);
        add(file, applications);
        add(context.createConditionalPreviousItemWithMode(value), ignored);
    }
    QList<std::tuple<int, QDateTime, QDateTime>> entries;
    for (qsizetype i = 0; i < enumerations.size(); ++i)
        entries.append({ enumerations[i], dates[i % dates.size()], dates[(i + 3) % dates.size()] });
    conditions << schedule("Every day value and date", entries);
    for (const QString& text : strings) {
        DBStartupCondition* volume = context.createMountedVolumeStartupCondition();
        volume->setConditionName(text);
        volume->conditionVolumeData()->setVolumePath(text);
        DBStartupCondition* network = context.createNetworkStartupCondition();
        network->setConditionName(text);
        network->conditionNetworkData()->setNetworkName(text);
        conditions << volume << network;
        add(context.createFileItemWithPath(text), applications, { volume, network });
    }
    for (const double delay : delays)
        add(context.createDelayItemWithDelay(delay), applications, { conditions.first() });
    for (qsizetype i = 0; i < conditions.size(); ++i)
        conditions[i]->setConditionSortIndexValue(int32_t(i));

    Error error;
    ASSERT_TRUE(makeSerializer()->saveDatabaseFromManagedObjectContext(context, &error)) << error.logDescription().toStdString();
    const QByteArray firstBytes = fileBytes(store);
    ObjectContext first(texts);
    ASSERT_TRUE(makeSerializer()->loadDatabaseToManagedObjectContext(first, &error)) << error.logDescription().toStdString();
    EXPECT_EQ(dumpContext(first).toStdString(), dumpContext(context).toStdString());

    ASSERT_TRUE(makeSerializer()->saveDatabaseFromManagedObjectContext(first, &error)) << error.logDescription().toStdString();
    EXPECT_EQ(fileBytes(store), firstBytes);
    ObjectContext second(texts);
    ASSERT_TRUE(makeSerializer()->loadDatabaseToManagedObjectContext(second, &error)) << error.logDescription().toStdString();
    EXPECT_EQ(dumpContext(second).toStdString(), dumpContext(context).toStdString());
}
