// Old SQLite stores of each model version, converted into the database file's
// dictionary and compared with hand-written expectations.
#include "foundation/MHErrors.h"
#include "foundation/PropertyList.h"
#include "model/DBStartupCondition.h"
#include "model/DatabaseSerializer.h"
#include "model/ExecutionValidationParameters.h"
#include "model/ObjectContext.h"
#include "model/OldStoreConverter.h"
#include "model/OldStoreReader.h"
#include "model/ProgressiveDataMigrator.h"
#include "support/FakeModelTexts.h"
#include "support/OldStoreWriter.h"
#include "support/TestHome.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

QDateTime at(int hour, int minute)
{
    return QDateTime(QDate(2006, 10, 1), QTime(hour, minute), Qt::UTC);
}

QVariantMap entry(qint64 day, QDateTime from, QDateTime to)
{
    return { { "day", day }, { "from", from }, { "to", to } };
}

std::string xml(const QVariantMap& dictionary)
{
    const std::optional<QByteArray> data = PropertyList::toData(dictionary);
    return data ? data->toStdString() : std::string("(cannot be written)");
}

class OldStoreMigrationTest : public testing::Test {
protected:
    void SetUp() override
    {
        folder = freshTestFolder("oldstore");
        store = folder + "/Lanternwick.data";
    }

    std::unique_ptr<OldStoreWriter> writer(OldStoreWriter::Version version, bool walOnly = false)
    {
        return std::make_unique<OldStoreWriter>(store, version, walOnly);
    }

    // The file's dictionary of the store, which must also load.
    std::optional<QVariantMap> convert(Error* error = nullptr, QVariantMap* changed = nullptr)
    {
        ProgressiveDataMigrator migrator;
        Error failure;
        const std::optional<OldStoreGraph> graph = migrator.progressivelyMigrateURL(store, OldStoreModel::currentModel(), &failure);
        EXPECT_TRUE(migrator.deleteTemporaryFiles());
        if (error)
            *error = failure;
        if (!graph)
            return std::nullopt;
        const QVariantMap dictionary = OldStoreConverter::dictionaryRepresentation(*graph, changed);
        EXPECT_TRUE(DatabaseSerializer(folder, "Lanternwick", texts).loadDatabaseFromDictionaryRepresentation(dictionary, context, nullptr));
        return dictionary;
    }

    QMap<QString, QByteArray> files() const
    {
        QMap<QString, QByteArray> contents;
        for (const QFileInfo& file : QDir(folder).entryInfoList(QDir::Files | QDir::Hidden)) {
            QFile reader(file.filePath());
            EXPECT_TRUE(reader.open(QIODevice::ReadOnly));
            contents.insert(file.fileName(), reader.readAll());
        }
        return contents;
    }

    void groups(OldStoreWriter& w)
    {
        w.insertObject("LoginGroup", 1, { { "ZGROUPTYPE", 0 }, { "ZGROUPNAME", "Application Items" } });
        w.insertObject("LoginGroup", 2, { { "ZGROUPTYPE", 1 }, { "ZGROUPNAME", "Ignored Items" } });
    }

    QString folder;
    QString store;
    FakeModelTexts texts;
    // The last conversion, loaded.
    ObjectContext context { texts };
};

TEST_F(OldStoreMigrationTest, Version3StoreKeepsEveryKindOfItemAndConditionInItsOrder)
{
    auto w = writer(OldStoreWriter::Version3);
    groups(*w);
    w->insertObject("StartupCondition", 1, { { "ZCONDITIONNAME", "Work" }, { "ZCONDITIONSORTINDEX", 1 }, { "ZCONDITIONTYPE", 0 }, { "ZCONDITIONSCHEDULEDDATA", 1 } });
    w->insertObject("ScheduledConditionData", 1, { { "ZSCHEDULESTARTUPCONDITION", 1 } });
    w->insertObject("ScheduledConditionDataItem", 1, { { "ZSCHEDULEDAY", 7 }, { "ZSCHEDULESORTINDEX", 1 }, { "ZSCHEDULECONDITIONDATA", 1 },
                                                      { "ZSCHEDULEFROMTIME", OldStoreWriter::referenceSeconds(9, 0) },
                                                      { "ZSCHEDULETOTIME", OldStoreWriter::referenceSeconds(17, 0) } });
    w->insertObject("ScheduledConditionDataItem", 2, { { "ZSCHEDULEDAY", 5 }, { "ZSCHEDULESORTINDEX", 0 }, { "ZSCHEDULECONDITIONDATA", 1 },
                                                      { "ZSCHEDULEFROMTIME", OldStoreWriter::referenceSeconds(10, 0) },
                                                      { "ZSCHEDULETOTIME", OldStoreWriter::referenceSeconds(12, 30) } });
    w->insertObject("StartupCondition", 2, { { "ZCONDITIONNAME", "Shift held" }, { "ZCONDITIONSORTINDEX", 0 }, { "ZCONDITIONTYPE", 1 }, { "ZCONDITIONHOTKEYDATA", 1 } });
    w->insertObject("HotkeyConditionData", 1, { { "ZHOTKEYCOMBINATION", 2 }, { "ZHOTKEYSTATUS", 0 }, { "ZHOTKEYSTARTUPCONDITION", 2 } });
    w->insertObject("StartupCondition", 3, { { "ZCONDITIONNAME", "On battery" }, { "ZCONDITIONSORTINDEX", 2 }, { "ZCONDITIONTYPE", 2 }, { "ZCONDITIONPOWERSOURCEDATA", 1 } });
    w->insertObject("PowerSourceConditionData", 1, { { "ZPOWERSOURCETYPE", 1 } });
    w->insertObject("StartupCondition", 4, { { "ZCONDITIONNAME", "Backup disk" }, { "ZCONDITIONSORTINDEX", 3 }, { "ZCONDITIONTYPE", 3 }, { "ZCONDITIONVOLUMEDATA", 1 } });
    w->insertObject("VoumeConditionData", 1, { { "ZVOLUMEPATH", "/media/backup disk" }, { "ZVOLUMESTATUS", 1 } });
    // Linked from the data's side only.
    w->insertObject("StartupCondition", 5, { { "ZCONDITIONNAME", "Internet" }, { "ZCONDITIONSORTINDEX", 4 }, { "ZCONDITIONTYPE", 4 } });
    w->insertObject("NetworkConditionData", 1, { { "ZNETWORKMODE", 0 }, { "ZNETWORKSTATUS", 1 }, { "ZNETWORKSTARTUPCONDITION", 5 } });
    w->insertObject("FileItem", 1, { { "ZITEMSORTINDEX", 1 }, { "ZITEMLOGINGROUP", 1 }, { "ZITEMPATH", "/usr/bin/mail app" }, { "ZITEMSTARTUPMODE", 1 } });
    w->insertObject("DelayItem", 2, { { "ZITEMSORTINDEX", 0 }, { "ZITEMLOGINGROUP", 1 }, { "ZITEMDELAY", 5.5 } });
    w->insertObject("ConditionalPreviousItem", 3, { { "ZITEMSORTINDEX", 2 }, { "ZITEMLOGINGROUP", 1 }, { "ZITEMMODE", 1 } });
    w->insertObject("WaitPreviousItem", 4, { { "ZITEMSORTINDEX", 3 }, { "ZITEMLOGINGROUP", 1 } });
    w->insertObject("FileItem", 5, { { "ZITEMSORTINDEX", 0 }, { "ZITEMLOGINGROUP", 2 }, { "ZITEMPATH", "/opt/tool" }, { "ZITEMSTARTUPMODE", 2 } });
    w->link(1, 1);
    w->link(1, 2);
    w->link(5, 5);
    w.reset();

    const QVariantMap expected {
        { "version", qint64(5) },
        { "conditions",
          QVariantList { QVariantMap { { "name", "Shift held" }, { "type", "hotkey" }, { "hotkeyCombination", qint64(2) }, { "hotkeyStatus", qint64(0) } },
                         QVariantMap { { "name", "Work" }, { "type", "schedule" },
                                       { "schedules", QVariantList { entry(5, at(10, 0), at(12, 30)), entry(7, at(9, 0), at(17, 0)) } } },
                         QVariantMap { { "name", "On battery" }, { "type", "powerSource" }, { "powerSourceType", qint64(1) } },
                         QVariantMap { { "name", "Backup disk" }, { "type", "volume" }, { "volumePath", "/media/backup disk" }, { "volumeStatus", qint64(1) } },
                         QVariantMap { { "name", "Internet" }, { "type", "network" }, { "networkMode", qint64(0) }, { "networkStatus", qint64(1) } } } },
        { "application",
          QVariantList { QVariantMap { { "type", "delay" }, { "delay", 5.5 } },
                         QVariantMap { { "type", "file" }, { "path", "/usr/bin/mail app" }, { "startupMode", "hidden" },
                                       { "conditions", QVariantList { qint64(0), qint64(1) } } },
                         QVariantMap { { "type", "conditionalPrevious" }, { "mode", qint64(1) } },
                         QVariantMap { { "type", "waitPrevious" } } } },
        { "ignored",
          QVariantList { QVariantMap { { "type", "file" }, { "path", "/opt/tool" }, { "startupMode", "disabled" }, { "conditions", QVariantList { qint64(4) } } } } },
    };
    const std::optional<QVariantMap> converted = convert();
    ASSERT_TRUE(converted);
    EXPECT_EQ(xml(*converted), xml(expected));
}

TEST_F(OldStoreMigrationTest, Version2StoreIsMappedToVersion3)
{
    auto w = writer(OldStoreWriter::Version2);
    groups(*w);
    w->insertObject("StartupCondition", 1, { { "ZCONDITIONNAME", "Weekend" }, { "ZCONDITIONSORTINDEX", 0 }, { "ZCONDITIONTYPE", 0 } });
    // Equal sort indexes: the keys decide.
    w->insertObject("ScheduledConditionData", 2, { { "ZSCHEDULEDAY", 9 }, { "ZSCHEDULESORTINDEX", 0 }, { "ZSCHEDULESTARTUPCONDITION", 1 },
                                                  { "ZSCHEDULEFROMTIME", OldStoreWriter::referenceSeconds(6, 0) },
                                                  { "ZSCHEDULETOTIME", OldStoreWriter::referenceSeconds(7, 0) } });
    w->insertObject("ScheduledConditionData", 1, { { "ZSCHEDULEDAY", 8 }, { "ZSCHEDULESORTINDEX", 0 }, { "ZSCHEDULESTARTUPCONDITION", 1 },
                                                  { "ZSCHEDULEFROMTIME", OldStoreWriter::referenceSeconds(8, 0) },
                                                  { "ZSCHEDULETOTIME", OldStoreWriter::referenceSeconds(20, 0) } });
    // A hotkey condition that still carries power source data and a schedule entry.
    w->insertObject("StartupCondition", 2, { { "ZCONDITIONNAME", "Ctrl" }, { "ZCONDITIONSORTINDEX", 1 }, { "ZCONDITIONTYPE", 1 },
                                             { "ZCONDITIONHOTKEYDATA", 1 }, { "ZCONDITIONPOWERSOURCEDATA", 1 } });
    w->insertObject("HotkeyConditionData", 1, { { "ZHOTKEYCOMBINATION", 0 }, { "ZHOTKEYSTATUS", 1 } });
    w->insertObject("PowerSourceConditionData", 1, { { "ZPOWERSOURCETYPE", 1 } });
    w->insertObject("ScheduledConditionData", 3, { { "ZSCHEDULEDAY", 0 }, { "ZSCHEDULESORTINDEX", 0 }, { "ZSCHEDULESTARTUPCONDITION", 2 },
                                                  { "ZSCHEDULEFROMTIME", OldStoreWriter::referenceSeconds(1, 0) },
                                                  { "ZSCHEDULETOTIME", OldStoreWriter::referenceSeconds(2, 0) } });
    w->insertObject("StartupCondition", 3, { { "ZCONDITIONNAME", "Mains" }, { "ZCONDITIONSORTINDEX", 2 }, { "ZCONDITIONTYPE", 2 } });
    w->insertObject("PowerSourceConditionData", 2, { { "ZPOWERSOURCETYPE", 0 }, { "ZPOWERSOURCESTARTUPCONDITION", 3 } });
    w->insertObject("FileItem", 1, { { "ZSORTINDEX", 0 }, { "ZLOGINGROUP", 1 }, { "ZFULLPATH", "/usr/bin/editor" }, { "ZSTARTUPMODE", 2 } });
    w->insertObject("DelayItem", 2, { { "ZSORTINDEX", 1 }, { "ZLOGINGROUP", 1 }, { "ZDELAY", 10 } });
    w->insertObject("FileItem", 3, { { "ZSORTINDEX", 0 }, { "ZLOGINGROUP", 2 }, { "ZFULLPATH", "/usr/bin/ignored" }, { "ZSTARTUPMODE", 0 } });
    // In no group: valid in the store, but the file has no place for it.
    w->insertObject("FileItem", 4, { { "ZSORTINDEX", 2 }, { "ZFULLPATH", "/nowhere" } });
    w->link(1, 1);
    w->link(1, 3);
    w->link(3, 2);
    w->link(4, 2);
    w.reset();

    const QVariantMap expected {
        { "version", qint64(5) },
        { "conditions",
          QVariantList { QVariantMap { { "name", "Weekend" }, { "type", "schedule" },
                                       { "schedules", QVariantList { entry(8, at(8, 0), at(20, 0)), entry(9, at(6, 0), at(7, 0)) } } },
                         QVariantMap { { "name", "Ctrl" }, { "type", "hotkey" }, { "hotkeyCombination", qint64(0) }, { "hotkeyStatus", qint64(1) } },
                         QVariantMap { { "name", "Mains" }, { "type", "powerSource" }, { "powerSourceType", qint64(0) } } } },
        { "application",
          QVariantList { QVariantMap { { "type", "file" }, { "path", "/usr/bin/editor" }, { "startupMode", "disabled" },
                                       { "conditions", QVariantList { qint64(0), qint64(2) } } },
                         QVariantMap { { "type", "delay" }, { "delay", 10.0 } } } },
        { "ignored",
          QVariantList { QVariantMap { { "type", "file" }, { "path", "/usr/bin/ignored" }, { "startupMode", "shown" }, { "conditions", QVariantList { qint64(1) } } } } },
    };
    const std::optional<QVariantMap> converted = convert();
    ASSERT_TRUE(converted);
    EXPECT_EQ(xml(*converted), xml(expected));
}

TEST_F(OldStoreMigrationTest, RowsOnlyInTheWriteAheadLogAreReadAndNoFileIsTouched)
{
    auto w = writer(OldStoreWriter::Version3, true);
    groups(*w);
    w->insertObject("FileItem", 1, { { "ZITEMSORTINDEX", 0 }, { "ZITEMLOGINGROUP", 1 }, { "ZITEMPATH", "/usr/bin/true" } });
    w.reset();
    ASSERT_GT(QFileInfo(store + "-wal").size(), 0);
    const QMap<QString, QByteArray> before = files();
    ASSERT_EQ(before.keys(), (QStringList { "Lanternwick.data", "Lanternwick.data-shm", "Lanternwick.data-wal" })) << QStringList(before.keys()).join(",").toStdString();

    const std::optional<QVariantMap> converted = convert();
    ASSERT_TRUE(converted);
    EXPECT_EQ(converted->value("application"), QVariant(QVariantList { QVariantMap { { "type", "file" }, { "path", "/usr/bin/true" } } }));
    const QMap<QString, QByteArray> after = files();
    for (const QString& name : before.keys())
        EXPECT_EQ(after.value(name), before.value(name)) << name.toStdString();
    EXPECT_EQ(after.keys(), before.keys());
}

TEST_F(OldStoreMigrationTest, RecordsTheFileCannotHoldAreLeftOutAndTheRestIsKept)
{
    auto w = writer(OldStoreWriter::Version3);
    groups(*w);
    w->insertObject("LoginGroup", 3, { { "ZGROUPTYPE", 5 }, { "ZGROUPNAME", "Unknown" } });
    w->insertObject("StartupCondition", 1, { { "ZCONDITIONNAME", "Future" }, { "ZCONDITIONSORTINDEX", 0 }, { "ZCONDITIONTYPE", 9 } });
    w->insertObject("StartupCondition", 2, { { "ZCONDITIONNAME", "Odd key" }, { "ZCONDITIONSORTINDEX", 1 }, { "ZCONDITIONTYPE", 1 }, { "ZCONDITIONHOTKEYDATA", 1 } });
    w->insertObject("HotkeyConditionData", 1, { { "ZHOTKEYCOMBINATION", 7 }, { "ZHOTKEYSTATUS", 0 } });
    w->insertObject("StartupCondition", 3, { { "ZCONDITIONNAME", "Schedule" }, { "ZCONDITIONSORTINDEX", 2 }, { "ZCONDITIONTYPE", 0 }, { "ZCONDITIONSCHEDULEDDATA", 1 } });
    w->insertObject("StartupCondition", 4, { { "ZCONDITIONNAME", "No data" }, { "ZCONDITIONSORTINDEX", 3 }, { "ZCONDITIONTYPE", 2 } });
    w->insertObject("ScheduledConditionData", 1, {});
    w->insertObject("ScheduledConditionDataItem", 1, { { "ZSCHEDULEDAY", 1 }, { "ZSCHEDULESORTINDEX", 0 }, { "ZSCHEDULECONDITIONDATA", 1 },
                                                      { "ZSCHEDULEFROMTIME", 1e12 }, { "ZSCHEDULETOTIME", OldStoreWriter::referenceSeconds(1, 0) } });
    w->insertObject("ScheduledConditionDataItem", 2, { { "ZSCHEDULEDAY", 12 }, { "ZSCHEDULESORTINDEX", 1 }, { "ZSCHEDULECONDITIONDATA", 1 } });
    w->insertObject("ScheduledConditionDataItem", 3, { { "ZSCHEDULEDAY", 2 }, { "ZSCHEDULESORTINDEX", 2 }, { "ZSCHEDULECONDITIONDATA", 1 },
                                                      { "ZSCHEDULEFROMTIME", OldStoreWriter::referenceSeconds(3, 0) },
                                                      { "ZSCHEDULETOTIME", OldStoreWriter::referenceSeconds(4, 0) } });
    w->insertObject("FileItem", 1, { { "ZITEMSORTINDEX", 0 }, { "ZITEMLOGINGROUP", 1 } });
    w->insertObject("FileItem", 2, { { "ZITEMSORTINDEX", 1 }, { "ZITEMLOGINGROUP", 1 }, { "ZITEMPATH", "/ok" }, { "ZITEMSTARTUPMODE", 7 } });
    w->insertObject("FileItem", 3, { { "ZITEMSORTINDEX", 2 }, { "ZITEMLOGINGROUP", 3 }, { "ZITEMPATH", "/unknown group" } });
    w->insertObject("DelayItem", 4, { { "ZITEMSORTINDEX", 3 }, { "ZITEMLOGINGROUP", 1 } });
    w->insertObject("DelayItem", 5, { { "ZITEMSORTINDEX", 4 }, { "ZITEMLOGINGROUP", 1 }, { "ZITEMDELAY", 1.0 / 0.0 } });
    w->link(2, 1);
    w->link(2, 2);
    w->link(2, 3);
    w.reset();

    // Values outside the used ranges and a condition of an unknown type are
    // kept, to be judged as the rules say; a condition without its data is
    // kept as one that refuses; a delay no countdown can end loads as no delay.
    const QVariantMap expected {
        { "version", qint64(5) },
        { "conditions",
          QVariantList { QVariantMap { { "name", "Future" }, { "type", qint64(9) } },
                         QVariantMap { { "name", "Odd key" }, { "type", "hotkey" }, { "hotkeyCombination", qint64(7) }, { "hotkeyStatus", qint64(0) } },
                         QVariantMap { { "name", "Schedule" }, { "type", "schedule" },
                                       { "schedules", QVariantList { QVariantMap { { "day", qint64(12) } }, entry(2, at(3, 0), at(4, 0)) } } },
                         QVariantMap { { "name", "No data" }, { "type", qint64(2) } } } },
        { "application", QVariantList { QVariantMap { { "type", "file" }, { "path", "/ok" }, { "startupMode", qint64(7) },
                                                      { "conditions", QVariantList { qint64(0), qint64(1), qint64(2) } } },
                                        QVariantMap { { "type", "delay" }, { "delay", std::numeric_limits<double>::infinity() } } } },
    };
    const std::optional<QVariantMap> converted = convert();
    ASSERT_TRUE(converted);
    EXPECT_EQ(xml(*converted), xml(expected));
}

// An item meant to start only with Shift held must not start at every login
// because the old database lost the condition's settings.
TEST_F(OldStoreMigrationTest, ConditionsThatCannotBeCarriedKeepTheirItemsRestrictedAndAreReported)
{
    auto w = writer(OldStoreWriter::Version3);
    groups(*w);
    w->insertObject("StartupCondition", 1, { { "ZCONDITIONNAME", "Shift held" }, { "ZCONDITIONSORTINDEX", 0 }, { "ZCONDITIONTYPE", 1 } });
    w->insertObject("StartupCondition", 2, { { "ZCONDITIONNAME", QString::fromUcs4(U"Disk \U0001F4BE\a") }, { "ZCONDITIONSORTINDEX", 1 },
                                             { "ZCONDITIONTYPE", 3 }, { "ZCONDITIONVOLUMEDATA", 1 } });
    w->insertObject("VoumeConditionData", 1, { { "ZVOLUMEPATH", "/media/disk" }, { "ZVOLUMESTATUS", 0 } });
    w->insertObject("StartupCondition", 3, { { "ZCONDITIONNAME", "Odd disk" }, { "ZCONDITIONSORTINDEX", 2 }, { "ZCONDITIONTYPE", 3 },
                                             { "ZCONDITIONVOLUMEDATA", 2 } });
    w->insertObject("VoumeConditionData", 2, { { "ZVOLUMEPATH", "/media/\x01" }, { "ZVOLUMESTATUS", 0 } });
    w->insertObject("StartupCondition", 4, { { "ZCONDITIONNAME", "Plugged in" }, { "ZCONDITIONSORTINDEX", 3 }, { "ZCONDITIONTYPE", 2 },
                                             { "ZCONDITIONPOWERSOURCEDATA", 1 } });
    w->insertObject("PowerSourceConditionData", 1, { { "ZPOWERSOURCETYPE", 0 } });
    w->insertObject("FileItem", 1, { { "ZITEMSORTINDEX", 0 }, { "ZITEMLOGINGROUP", 1 }, { "ZITEMPATH", "/usr/bin/editor" } });
    w->insertObject("FileItem", 2, { { "ZITEMSORTINDEX", 1 }, { "ZITEMLOGINGROUP", 1 }, { "ZITEMPATH", "/usr/bin/backup" } });
    w->insertObject("FileItem", 3, { { "ZITEMSORTINDEX", 2 }, { "ZITEMLOGINGROUP", 1 }, { "ZITEMPATH", "/usr/bin/plain" } });
    w->insertObject("FileItem", 4, { { "ZITEMSORTINDEX", 0 }, { "ZITEMLOGINGROUP", 2 }, { "ZITEMPATH", "/opt/ignored" } });
    w->link(1, 1);
    w->link(1, 4);
    w->link(2, 2);
    w->link(3, 4);
    w->link(4, 3);
    w.reset();

    QVariantMap changed;
    const std::optional<QVariantMap> converted = convert(nullptr, &changed);
    ASSERT_TRUE(converted);
    const QVariantMap shift { { "name", "Shift held" }, { "type", qint64(1) } };
    const QVariantMap disk { { "name", QString::fromUcs4(U"Disk \U0001F4BE\uFFFD") }, { "type", "volume" }, { "volumePath", "/media/disk" },
                             { "volumeStatus", qint64(0) } };
    const QVariantMap odd { { "name", "Odd disk" }, { "type", qint64(3) } };
    const QVariantMap plugged { { "name", "Plugged in" }, { "type", "powerSource" }, { "powerSourceType", qint64(0) } };
    const auto file = [](const char* path, QVariantList conditions) {
        return QVariantMap { { "type", "file" }, { "path", path }, { "conditions", conditions } };
    };
    EXPECT_EQ(xml(*converted), xml({ { "version", qint64(5) },
                                     { "conditions", QVariantList { shift, disk, odd, plugged } },
                                     { "application", QVariantList { file("/usr/bin/editor", { qint64(0), qint64(3) }), file("/usr/bin/backup", { qint64(1) }),
                                                                     file("/usr/bin/plain", { qint64(3) }) } },
                                     { "ignored", QVariantList { file("/opt/ignored", { qint64(2) }) } } }));
    EXPECT_EQ(xml(changed), xml({ { "conditions", QVariantList { shift, disk, odd } },
                                  { "application", QVariantList { file("/usr/bin/editor", { qint64(0) }), file("/usr/bin/backup", { qint64(1) }),
                                                                  file("/opt/ignored", { qint64(2) }) } } }));

    // With Shift held and plugged in, the editor still does not start.
    const auto parameters = ExecutionValidationParameters::create();
    parameters->setShiftKeyPressed(true);
    parameters->setPowerSource(PowerSourceTypePowerSupply);
    const QList<DBStartupCondition*> conditions = context.sortedStartupConditions();
    ASSERT_EQ(conditions.size(), 4);
    EXPECT_FALSE(conditions.at(0)->isExecutionAllowedForParameters(*parameters));
    EXPECT_FALSE(conditions.at(2)->isExecutionAllowedForParameters(*parameters));
    EXPECT_TRUE(conditions.at(3)->isExecutionAllowedForParameters(*parameters));
}

TEST_F(OldStoreMigrationTest, EverythingCarriedReportsNothing)
{
    auto w = writer(OldStoreWriter::Version3);
    groups(*w);
    w->insertObject("StartupCondition", 1, { { "ZCONDITIONNAME", "Future" }, { "ZCONDITIONSORTINDEX", 0 }, { "ZCONDITIONTYPE", 9 } });
    w->insertObject("FileItem", 1, { { "ZITEMSORTINDEX", 0 }, { "ZITEMLOGINGROUP", 1 }, { "ZITEMPATH", "/usr/bin/editor" } });
    w->link(1, 1);
    w.reset();
    QVariantMap changed { { "stale", true } };
    ASSERT_TRUE(convert(nullptr, &changed));
    EXPECT_TRUE(changed.isEmpty()) << "a kind this version does not know refused before as well";
}

struct CorruptStore {
    const char* name;
    std::function<void(const QString& path)> write;
};

class CorruptStoreTest : public OldStoreMigrationTest, public testing::WithParamInterface<CorruptStore> {};

TEST_P(CorruptStoreTest, FailsWithAnErrorAndLeavesEveryFileAsItWas)
{
    GetParam().write(store);
    const QMap<QString, QByteArray> before = files();
    Error error;
    EXPECT_FALSE(convert(&error));
    EXPECT_EQ(error.domain(), MHErrors::domain);
    EXPECT_FALSE(error.description().isEmpty());
    EXPECT_EQ(files(), before);
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

void version3With(const QString& path, const std::function<void(OldStoreWriter&)>& rows)
{
    OldStoreWriter w(path, OldStoreWriter::Version3);
    w.insertObject("LoginGroup", 1, { { "ZGROUPTYPE", 0 } });
    w.insertObject("StartupCondition", 1, { { "ZCONDITIONTYPE", 2 } });
    rows(w);
}

INSTANTIATE_TEST_SUITE_P(
    Stores, CorruptStoreTest,
    testing::Values(
        CorruptStore { "NotADatabase", [](const QString& path) { writeBytes(path, "<?xml version=\"1.0\"?><plist></plist>\n"); } },
        CorruptStore { "EmptyFile", [](const QString& path) { writeBytes(path, {}); } },
        CorruptStore { "Truncated",
                       [](const QString& path) {
                           version3With(path, [](OldStoreWriter& w) {
                               for (int i = 1; i <= 400; ++i)
                                   w.insertObject("FileItem", i, { { "ZITEMSORTINDEX", i }, { "ZITEMLOGINGROUP", 1 }, { "ZITEMPATH", QString(200, 'x') } });
                               w.exec("PRAGMA wal_checkpoint(TRUNCATE)");
                           });
                           QFile::resize(path, 6000);
                       } },
        CorruptStore { "UnknownStructure",
                       [](const QString& path) {
                           OldStoreWriter w(path, OldStoreWriter::Version3);
                           w.exec("DROP TABLE ZSCHEDULEDCONDITIONDATAITEM");
                       } },
        CorruptStore { "TextInAnIntegerColumn",
                       [](const QString& path) {
                           version3With(path, [](OldStoreWriter& w) {
                               w.insertObject("FileItem", 1, { { "ZITEMSORTINDEX", "first" }, { "ZITEMLOGINGROUP", 1 }, { "ZITEMPATH", "/a" } });
                           });
                       } },
        CorruptStore { "IntegerBeyond32Bits",
                       [](const QString& path) {
                           version3With(path, [](OldStoreWriter& w) {
                               w.insertObject("FileItem", 1, { { "ZITEMSORTINDEX", qint64(1) << 40 }, { "ZITEMLOGINGROUP", 1 }, { "ZITEMPATH", "/a" } });
                           });
                       } },
        CorruptStore { "BlobInATextColumn",
                       [](const QString& path) {
                           version3With(path, [](OldStoreWriter& w) {
                               w.insertObject("FileItem", 1, { { "ZITEMSORTINDEX", 0 }, { "ZITEMLOGINGROUP", 1 } });
                               w.exec("UPDATE ZLOGINITEM SET ZITEMPATH = X'2F61'");
                           });
                       } },
        CorruptStore { "RowWithoutEntityNumber",
                       [](const QString& path) {
                           version3With(path, [](OldStoreWriter& w) { w.insert("ZLOGINITEM", { { "Z_PK", 7 }, { "Z_ENT", QVariant() } }); });
                       } },
        CorruptStore { "DanglingGroupKey",
                       [](const QString& path) {
                           version3With(path, [](OldStoreWriter& w) {
                               w.insertObject("FileItem", 1, { { "ZITEMSORTINDEX", 0 }, { "ZITEMLOGINGROUP", 99 }, { "ZITEMPATH", "/a" } });
                           });
                       } },
        CorruptStore { "DanglingConditionLink",
                       [](const QString& path) {
                           version3With(path, [](OldStoreWriter& w) {
                               w.insertObject("FileItem", 1, { { "ZITEMSORTINDEX", 0 }, { "ZITEMLOGINGROUP", 1 }, { "ZITEMPATH", "/a" } });
                               w.link(1, 42);
                           });
                       } },
        CorruptStore { "BlobNameInTheCatalogue",
                       [](const QString& path) { version3With(path, [](OldStoreWriter& w) { w.exec("UPDATE Z_PRIMARYKEY SET Z_NAME = X'00' WHERE Z_ENT = 4"); }); } }),
    [](const testing::TestParamInfo<CorruptStore>& info) { return std::string(info.param.name); });

// --- The steps between versions ------------------------------------------------------

class ProgressiveStepsTest : public OldStoreMigrationTest {
protected:
    void SetUp() override
    {
        OldStoreMigrationTest::SetUp();
        auto w = writer(OldStoreWriter::Version2);
        groups(*w);
    }

    // A later version that no store has, and a mapping that records its use.
    static OldStoreModel laterModel(const QString& name, int version)
    {
        OldStoreModel model = OldStoreModel::version3();
        model.name = name;
        model.version = version;
        model.signature = { "Nothing.atAll" };
        return model;
    }
    ProgressiveDataMigrator::Mapping step(const QString& from, const QString& to)
    {
        return { from, to, [this, from, to](const OldStoreGraph& graph) {
                    steps.append(from + ">" + to);
                    return graph;
                } };
    }
    std::optional<OldStoreGraph> migrate(ProgressiveDataMigrator& migrator, const OldStoreModel& finalModel, Error* error)
    {
        Error ignored;
        const std::unique_ptr<OldStoreReader> reader = OldStoreReader::open(store, &ignored);
        EXPECT_TRUE(reader);
        return migrator.progressivelyMigrateStore(*reader, finalModel, error);
    }

    const QString v2 = OldStoreModel::version2().name;
    const QString v3 = OldStoreModel::version3().name;
    QStringList steps;
};

TEST_F(ProgressiveStepsTest, EachStepGoesToTheLaterModelThatSortsLastAmongThoseWithAMapping)
{
    const OldStoreModel v3b = laterModel("Lanternwick 3b", 3);
    const OldStoreModel v4 = laterModel("Lanternwick 4", 4);
    ProgressiveDataMigrator migrator({ &OldStoreModel::version2(), &OldStoreModel::version3(), &v3b, &v4 },
                                     { step(v2, v3), step(v2, v3b.name), step(v3, v4.name), step(v3b.name, v4.name) });
    Error error;
    const std::optional<OldStoreGraph> graph = migrate(migrator, v4, &error);
    ASSERT_TRUE(graph) << error.description().toStdString();
    EXPECT_EQ(steps, (QStringList { v2 + ">Lanternwick 3b", "Lanternwick 3b>Lanternwick 4" }));
    EXPECT_EQ(graph->modelName, "Lanternwick 4");
    EXPECT_EQ(ProgressiveDataMigrator::sortedModelPathsFromArray({ "b.mom", "a.mom", "c.mom" }), (QStringList { "c.mom", "b.mom", "a.mom" }));
}

TEST_F(ProgressiveStepsTest, NoModelsNoMappingOrOnlyAStepBackFailWithTheirCodes)
{
    Error error;
    ProgressiveDataMigrator noModels({}, {});
    EXPECT_FALSE(migrate(noModels, OldStoreModel::version3(), &error));
    EXPECT_EQ(error.code(), MHErrors::MHErrorCodeMigrationNoModels);
    EXPECT_EQ(error.description(), "No models found in bundle!");

    ProgressiveDataMigrator noMapping({ &OldStoreModel::version2(), &OldStoreModel::version3() }, {});
    EXPECT_FALSE(migrate(noMapping, OldStoreModel::version3(), &error));
    EXPECT_EQ(error.code(), MHErrors::MHErrorCodeMigrationNoDestinationModel);
    EXPECT_EQ(error.description(), "No destination model found!");

    // A mapping back to version 2 would loop for ever; it is never taken.
    const OldStoreModel v4 = laterModel("Lanternwick 4", 4);
    ProgressiveDataMigrator backwards({ &OldStoreModel::version2(), &OldStoreModel::version3(), &v4 }, { step(v2, v3), step(v3, v2) });
    EXPECT_FALSE(migrate(backwards, v4, &error));
    EXPECT_EQ(error.code(), MHErrors::MHErrorCodeMigrationNoDestinationModel);
    EXPECT_EQ(steps, QStringList { v2 + ">" + v3 });
}

} // namespace
