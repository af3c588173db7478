#include "support/OldStoreWriter.h"

#include <QDateTime>
#include <QStringList>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

struct Entity {
    const char* name;
    const char* root;
};

// Entity numbers are the positions + 1; "StartupCondition" is 11 in version 3,
// so that its join column starts like the one of entity 1.
const Entity kVersion2Entities[] = { { "LoginItem", "LoginItem" }, { "DelayItem", "LoginItem" }, { "FileItem", "LoginItem" },
                                     { "HotkeyConditionData", "HotkeyConditionData" }, { "LoginGroup", "LoginGroup" },
                                     { "PowerSourceConditionData", "PowerSourceConditionData" },
                                     { "ScheduledConditionData", "ScheduledConditionData" }, { "StartupCondition", "StartupCondition" } };

const Entity kVersion3Entities[] = { { "LoginItem", "LoginItem" },
                                     { "ConditionalPreviousItem", "LoginItem" },
                                     { "DelayItem", "LoginItem" },
                                     { "FileItem", "LoginItem" },
                                     { "WaitPreviousItem", "LoginItem" },
                                     { "HotkeyConditionData", "HotkeyConditionData" },
                                     { "LoginGroup", "LoginGroup" },
                                     { "NetworkConditionData", "NetworkConditionData" },
                                     { "PowerSourceConditionData", "PowerSourceConditionData" },
                                     { "ScheduledConditionData", "ScheduledConditionData" },
                                     { "StartupCondition", "StartupCondition" },
                                     { "ScheduledConditionDataItem", "ScheduledConditionDataItem" },
                                     { "VoumeConditionData", "VoumeConditionData" } };

const char* const kVersion2Tables[] = {
    "CREATE TABLE ZLOGINITEM (Z_PK INTEGER PRIMARY KEY, Z_ENT INTEGER, Z_OPT INTEGER, ZSORTINDEX INTEGER, ZSTARTUPMODE INTEGER, "
    "ZLOGINGROUP INTEGER, ZDELAY FLOAT, ZFULLPATH VARCHAR)",
    "CREATE TABLE ZLOGINGROUP (Z_PK INTEGER PRIMARY KEY, Z_ENT INTEGER, Z_OPT INTEGER, ZGROUPTYPE INTEGER, ZGROUPNAME VARCHAR)",
    "CREATE TABLE ZSTARTUPCONDITION (Z_PK INTEGER PRIMARY KEY, Z_ENT INTEGER, Z_OPT INTEGER, ZCONDITIONSORTINDEX INTEGER, "
    "ZCONDITIONTYPE INTEGER, ZCONDITIONHOTKEYDATA INTEGER, ZCONDITIONPOWERSOURCEDATA INTEGER, ZCONDITIONNAME VARCHAR)",
    "CREATE TABLE ZHOTKEYCONDITIONDATA (Z_PK INTEGER PRIMARY KEY, Z_ENT INTEGER, Z_OPT INTEGER, ZHOTKEYCOMBINATION INTEGER, "
    "ZHOTKEYSTATUS INTEGER, ZHOTKEYSTARTUPCONDITION INTEGER)",
    "CREATE TABLE ZPOWERSOURCECONDITIONDATA (Z_PK INTEGER PRIMARY KEY, Z_ENT INTEGER, Z_OPT INTEGER, ZPOWERSOURCETYPE INTEGER, "
    "ZPOWERSOURCESTARTUPCONDITION INTEGER)",
    "CREATE TABLE ZSCHEDULEDCONDITIONDATA (Z_PK INTEGER PRIMARY KEY, Z_ENT INTEGER, Z_OPT INTEGER, ZSCHEDULEDAY INTEGER, "
    "ZSCHEDULESORTINDEX INTEGER, ZSCHEDULESTARTUPCONDITION INTEGER, ZSCHEDULEFROMTIME TIMESTAMP, ZSCHEDULETOTIME TIMESTAMP)",
    "CREATE TABLE Z_1STARTUPCONDITIONS (Z_1LOGINITEMS INTEGER, Z_8STARTUPCONDITIONS INTEGER, PRIMARY KEY (Z_1LOGINITEMS, Z_8STARTUPCONDITIONS))",
};

const char* const kVersion3Tables[] = {
    "CREATE TABLE ZLOGINITEM (Z_PK INTEGER PRIMARY KEY, Z_ENT INTEGER, Z_OPT INTEGER, ZITEMSORTINDEX INTEGER, ZITEMSTARTUPMODE INTEGER, "
    "ZITEMMODE INTEGER, ZITEMLOGINGROUP INTEGER, ZITEMDELAY FLOAT, ZITEMPATH VARCHAR)",
    "CREATE TABLE ZLOGINGROUP (Z_PK INTEGER PRIMARY KEY, Z_ENT INTEGER, Z_OPT INTEGER, ZGROUPTYPE INTEGER, ZGROUPNAME VARCHAR)",
    "CREATE TABLE ZSTARTUPCONDITION (Z_PK INTEGER PRIMARY KEY, Z_ENT INTEGER, Z_OPT INTEGER, ZCONDITIONSORTINDEX INTEGER, "
    "ZCONDITIONTYPE INTEGER, ZCONDITIONHOTKEYDATA INTEGER, ZCONDITIONNETWORKDATA INTEGER, ZCONDITIONPOWERSOURCEDATA INTEGER, "
    "ZCONDITIONSCHEDULEDDATA INTEGER, ZCONDITIONVOLUMEDATA INTEGER, ZCONDITIONNAME VARCHAR)",
    "CREATE TABLE ZHOTKEYCONDITIONDATA (Z_PK INTEGER PRIMARY KEY, Z_ENT INTEGER, Z_OPT INTEGER, ZHOTKEYCOMBINATION INTEGER, "
    "ZHOTKEYSTATUS INTEGER, ZHOTKEYSTARTUPCONDITION INTEGER)",
    "CREATE TABLE ZPOWERSOURCECONDITIONDATA (Z_PK INTEGER PRIMARY KEY, Z_ENT INTEGER, Z_OPT INTEGER, ZPOWERSOURCETYPE INTEGER, "
    "ZPOWERSOURCESTARTUPCONDITION INTEGER)",
    "CREATE TABLE ZSCHEDULEDCONDITIONDATA (Z_PK INTEGER PRIMARY KEY, Z_ENT INTEGER, Z_OPT INTEGER, ZSCHEDULESTARTUPCONDITION INTEGER)",
    "CREATE TABLE ZSCHEDULEDCONDITIONDATAITEM (Z_PK INTEGER PRIMARY KEY, Z_ENT INTEGER, Z_OPT INTEGER, ZSCHEDULEDAY INTEGER, "
    "ZSCHEDULESORTINDEX INTEGER, ZSCHEDULECONDITIONDATA INTEGER, ZSCHEDULEFROMTIME TIMESTAMP, ZSCHEDULETOTIME TIMESTAMP)",
    "CREATE TABLE ZVOUMECONDITIONDATA (Z_PK INTEGER PRIMARY KEY, Z_ENT INTEGER, Z_OPT INTEGER, ZVOLUMESTATUS INTEGER, "
    "ZVOLUMESTARTUPCONDITION INTEGER, ZVOLUMEPATH VARCHAR)",
    "CREATE TABLE ZNETWORKCONDITIONDATA (Z_PK INTEGER PRIMARY KEY, Z_ENT INTEGER, Z_OPT INTEGER, ZNETWORKMODE INTEGER, "
    "ZNETWORKSTATUS INTEGER, ZNETWORKSTARTUPCONDITION INTEGER, ZNETWORKNAME VARCHAR)",
    "CREATE TABLE Z_1ITEMSTARTUPCONDITIONS (Z_1CONDITIONLOGINITEMS INTEGER, Z_11ITEMSTARTUPCONDITIONS INTEGER, "
    "PRIMARY KEY (Z_1CONDITIONLOGINITEMS, Z_11ITEMSTARTUPCONDITIONS))",
};

template <size_t N>
qint64 numberIn(const Entity (&entities)[N], const QString& name)
{
    for (size_t i = 0; i < N; ++i)
        if (name == QLatin1String(entities[i].name))
            return qint64(i + 1);
    return -1;
}

} // namespace

OldStoreWriter::OldStoreWriter(const QString& path, Version version, bool walOnly)
    : m_version(version)
{
    EXPECT_EQ(sqlite3_open(path.toUtf8().constData(), &m_database), SQLITE_OK);
    exec("PRAGMA journal_mode=WAL");
    exec("CREATE TABLE Z_PRIMARYKEY (Z_ENT INTEGER PRIMARY KEY, Z_NAME VARCHAR, Z_SUPER INTEGER, Z_MAX INTEGER)");
    exec("CREATE TABLE Z_METADATA (Z_VERSION INTEGER PRIMARY KEY, Z_UUID VARCHAR(255), Z_PLIST BLOB)");
    const auto catalogue = [this](const Entity* entities, size_t count) {
        for (size_t i = 0; i < count; ++i) {
            const QString root = QLatin1String(entities[i].root);
            const qint64 super = root == QLatin1String(entities[i].name) ? 0 : entityNumber(root);
            insert("Z_PRIMARYKEY", { { "Z_ENT", qint64(i + 1) }, { "Z_NAME", entities[i].name }, { "Z_SUPER", super }, { "Z_MAX", 0 } });
        }
    };
    if (version == Version2) {
        for (const char* table : kVersion2Tables)
            exec(table);
        catalogue(kVersion2Entities, std::size(kVersion2Entities));
    } else {
        for (const char* table : kVersion3Tables)
            exec(table);
        catalogue(kVersion3Entities, std::size(kVersion3Entities));
    }
    if (walOnly) {
        exec("PRAGMA wal_checkpoint(TRUNCATE)");
        exec("PRAGMA wal_autocheckpoint=0");
        sqlite3_db_config(m_database, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    }
}

OldStoreWriter::~OldStoreWriter()
{
    sqlite3_close(m_database);
}

qint64 OldStoreWriter::entityNumber(const QString& entity) const
{
    return m_version == Version2 ? numberIn(kVersion2Entities, entity) : numberIn(kVersion3Entities, entity);
}

void OldStoreWriter::exec(const QString& sql)
{
    char* message = nullptr;
    EXPECT_EQ(sqlite3_exec(m_database, sql.toUtf8().constData(), nullptr, nullptr, &message), SQLITE_OK) << (message ? message : "") << " in " << sql.toStdString();
    sqlite3_free(message);
}

void OldStoreWriter::insert(const QString& table, const QVariantMap& columns)
{
    QStringList names;
    QStringList places;
    for (auto it = columns.cbegin(); it != columns.cend(); ++it) {
        names.append(it.key());
        places.append(QStringLiteral("?%1").arg(places.size() + 1));
    }
    const QByteArray sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(table, names.join(", "), places.join(", ")).toUtf8();
    sqlite3_stmt* statement = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(m_database, sql.constData(), -1, &statement, nullptr), SQLITE_OK) << sqlite3_errmsg(m_database);
    int index = 1;
    for (const QVariant& value : columns) {
        switch (value.typeId()) {
        case QMetaType::Int:
        case QMetaType::LongLong:
            sqlite3_bind_int64(statement, index, value.toLongLong());
            break;
        case QMetaType::Double:
            sqlite3_bind_double(statement, index, value.toDouble());
            break;
        case QMetaType::QString:
        case QMetaType::QByteArray:
        case QMetaType::Char:
            sqlite3_bind_text(statement, index, value.toString().toUtf8().constData(), -1, SQLITE_TRANSIENT);
            break;
        default:
            sqlite3_bind_null(statement, index);
        }
        ++index;
    }
    EXPECT_EQ(sqlite3_step(statement), SQLITE_DONE) << sqlite3_errmsg(m_database) << " in " << sql.constData();
    sqlite3_finalize(statement);
}

void OldStoreWriter::insertObject(const QString& entity, qint64 key, QVariantMap columns)
{
    const Entity* entities = m_version == Version2 ? kVersion2Entities : kVersion3Entities;
    const size_t count = m_version == Version2 ? std::size(kVersion2Entities) : std::size(kVersion3Entities);
    QString root;
    for (size_t i = 0; i < count; ++i)
        if (entity == QLatin1String(entities[i].name))
            root = QLatin1String(entities[i].root);
    ASSERT_FALSE(root.isEmpty()) << entity.toStdString();
    columns.insert("Z_PK", key);
    columns.insert("Z_ENT", entityNumber(entity));
    columns.insert("Z_OPT", 1);
    insert(QLatin1Char('Z') + root.toUpper(), columns);
}

void OldStoreWriter::link(qint64 item, qint64 condition)
{
    if (m_version == Version2)
        insert("Z_1STARTUPCONDITIONS", { { "Z_1LOGINITEMS", item }, { "Z_8STARTUPCONDITIONS", condition } });
    else
        insert("Z_1ITEMSTARTUPCONDITIONS", { { "Z_1CONDITIONLOGINITEMS", item }, { "Z_11ITEMSTARTUPCONDITIONS", condition } });
}

double OldStoreWriter::referenceSeconds(int hour, int minute)
{
    const QDateTime reference(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC);
    return double(reference.secsTo(QDateTime(QDate(2006, 10, 1), QTime(hour, minute), Qt::UTC)));
}
