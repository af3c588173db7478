#include "ui/base/LoginItemDragData.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUuid>
#include <functional>
#include <gtest/gtest.h>
#include <random>

namespace {

const QUuid kDatabase = QUuid::createUuid();

LoginItemDragData::Row row(int index, LoginGroupType group = LoginGroupTypeApplication)
{
    return { QStringLiteral("Row %1 \"<b>&</b>\"").arg(index), index, group, ObjectID(kDatabase, QStringLiteral("FileItem"), 10 + index) };
}

QJsonObject validRecord()
{
    return QJsonDocument::fromJson(LoginItemDragData::encode({ row(2) })).array().first().toObject();
}

QByteArray payload(const QJsonArray& records)
{
    return QJsonDocument(records).toJson();
}

QByteArray withRecord(const std::function<void(QJsonObject&)>& change)
{
    QJsonObject record = validRecord();
    change(record);
    return payload({ record });
}

TEST(LoginItemDragDataTest, RowsComeBackAsWritten)
{
    const QList<LoginItemDragData::Row> rows { row(0), row(3), row(7) };
    const auto decoded = LoginItemDragData::decode(LoginItemDragData::encode(rows));
    ASSERT_TRUE(decoded.has_value());
    ASSERT_EQ(decoded->size(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(decoded->at(i).description, rows[i].description);
        EXPECT_EQ(decoded->at(i).index, rows[i].index);
        EXPECT_EQ(decoded->at(i).group, rows[i].group);
        EXPECT_EQ(decoded->at(i).objectID, rows[i].objectID);
    }
    const auto ignored = LoginItemDragData::decode(LoginItemDragData::encode({ row(1, LoginGroupTypeIgnored) }));
    ASSERT_TRUE(ignored.has_value());
    EXPECT_EQ(ignored->first().group, LoginGroupTypeIgnored);
}

TEST(LoginItemDragDataTest, RecordsUseTheItemRecordKeys)
{
    const QJsonObject record = validRecord();
    EXPECT_EQ(record.value("description").toString(), row(2).description);
    EXPECT_EQ(record.value("index").toInt(), 2);
    EXPECT_EQ(record.value("group").toString(), "application");
    EXPECT_EQ(record.value("objectID").toString(), row(2).objectID.uriRepresentation());
}

struct MalformedCase {
    const char* name;
    std::function<QByteArray()> payload;
};

class MalformedPayloadTest : public testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedPayloadTest, IsRefused)
{
    EXPECT_FALSE(LoginItemDragData::decode(GetParam().payload()).has_value());
}

QByteArray without(const char* key)
{
    return withRecord([key](QJsonObject& record) { record.remove(QLatin1String(key)); });
}

QByteArray setting(const char* key, const QJsonValue& value)
{
    return withRecord([key, value](QJsonObject& record) { record.insert(QLatin1String(key), value); });
}

INSTANTIATE_TEST_SUITE_P(
    Payloads, MalformedPayloadTest,
    testing::Values(
        MalformedCase { "Empty", [] { return QByteArray(); } },
        MalformedCase { "NotJson", [] { return QByteArray("[{\"index\": 1,"); } },
        MalformedCase { "Object", [] { return QJsonDocument(validRecord()).toJson(); } },
        MalformedCase { "EmptyList", [] { return payload({}); } },
        MalformedCase { "NumberInList", [] { return payload({ 1 }); } },
        MalformedCase { "NoDescription", [] { return without("description"); } },
        MalformedCase { "NoIndex", [] { return without("index"); } },
        MalformedCase { "NoGroup", [] { return without("group"); } },
        MalformedCase { "NoObjectID", [] { return without("objectID"); } },
        MalformedCase { "NoProcess", [] { return without("process"); } },
        MalformedCase { "IndexAsText", [] { return setting("index", "2"); } },
        MalformedCase { "NegativeIndex", [] { return setting("index", -1); } },
        MalformedCase { "FractionalIndex", [] { return setting("index", 1.5); } },
        MalformedCase { "HugeIndex", [] { return setting("index", 1e12); } },
        MalformedCase { "UnknownGroup", [] { return setting("group", "system"); } },
        MalformedCase { "GroupAsNumber", [] { return setting("group", 0); } },
        MalformedCase { "DescriptionAsNumber", [] { return setting("description", 3); } },
        MalformedCase { "NotAnObjectID", [] { return setting("objectID", "/usr/bin/mail"); } },
        MalformedCase { "AnotherProcess", [] { return setting("process", "1/00000000-0000-0000-0000-000000000001"); } },
        MalformedCase { "SameProcessIDOtherToken",
                        [] {
                            const QString mark = validRecord().value("process").toString();
                            return setting("process", mark.section('/', 0, 0) + "/" + QUuid::createUuid().toString(QUuid::WithoutBraces));
                        } },
        MalformedCase { "OneBadRecordAmongGood",
                        [] {
                            QJsonArray records = QJsonDocument::fromJson(LoginItemDragData::encode({ row(0), row(1) })).array();
                            QJsonObject bad = validRecord();
                            bad.insert("group", "nowhere");
                            records.append(bad);
                            return payload(records);
                        } },
        MalformedCase { "TheSameItemTwice", [] { return LoginItemDragData::encode({ row(1), row(1) }); } },
        MalformedCase { "RowsOfBothLists", [] { return LoginItemDragData::encode({ row(1), row(2, LoginGroupTypeIgnored) }); } }),
    [](const testing::TestParamInfo<MalformedCase>& info) { return std::string(info.param.name); });

// Damaged copies of a valid payload are either refused or read as whole
// records of this process; none is read past its end.
TEST(LoginItemDragDataTest, DamagedPayloadsAreRefusedOrWhole)
{
    const QByteArray valid = LoginItemDragData::encode({ row(0), row(4), row(9) });
    std::mt19937 random(20240611);
    for (int round = 0; round < 3000; ++round) {
        QByteArray damaged = valid;
        const int changes = 1 + static_cast<int>(random() % 4);
        for (int change = 0; change < changes && !damaged.isEmpty(); ++change) {
            const auto at = static_cast<qsizetype>(random() % static_cast<unsigned>(damaged.size()));
            switch (random() % 3) {
            case 0:
                damaged[at] = static_cast<char>(random() % 256);
                break;
            case 1:
                damaged.truncate(at);
                break;
            default:
                damaged.remove(at, 1 + static_cast<qsizetype>(random() % 8));
            }
        }
        const auto decoded = LoginItemDragData::decode(damaged);
        if (!decoded)
            continue;
        ASSERT_FALSE(decoded->isEmpty());
        for (const LoginItemDragData::Row& read : *decoded) {
            EXPECT_GE(read.index, 0);
            EXPECT_FALSE(read.objectID.isNull());
        }
    }
}

} // namespace
