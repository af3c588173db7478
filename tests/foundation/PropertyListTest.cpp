#include "foundation/PropertyList.h"
#include "support/EndToEnd.h"
#include "support/TestHome.h"

#include <QDateTime>
#include <QFile>
#include <QProcess>
#include <QTimeZone>
#include <gtest/gtest.h>
#include <limits>

namespace {

QByteArray wrap(const QByteArray& body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">" + body + "</plist>\n";
}

QVariantMap everyKind()
{
    QVariantMap inner {
        { "list", QVariantList { 1, "two", QVariantList { true, 2.5 } } },
        { "empty list", QVariantList() },
        { "empty dict", QVariantMap() },
    };
    return {
        { "string", QStringLiteral("a <b> & \"c\" é 日本 \t\n") },
        { "empty string", QString("") },
        { "integer", qint64(-42) },
        { "largest", std::numeric_limits<qint64>::max() },
        { "smallest", std::numeric_limits<qint64>::min() },
        { "unsigned", std::numeric_limits<quint64>::max() },
        { "real", 0.1 },
        { "true", true },
        { "false", false },
        { "date", QDateTime(QDate(2023, 5, 17), QTime(8, 30, 15), QTimeZone::utc()) },
        { "old date", QDateTime(QDate(1990, 1, 2), QTime(3, 4, 5), QTimeZone::utc()) },
        // Beyond the 32-bit seconds around 2001 that libplist hands out.
        { "first date", QDateTime(QDate(1, 1, 1), QTime(0, 0), QTimeZone::utc()) },
        { "before 1932", QDateTime(QDate(1900, 6, 1), QTime(2, 30), QTimeZone::utc()) },
        { "after 2069", QDateTime(QDate(2200, 1, 1), QTime(9, 0), QTimeZone::utc()) },
        { "last date", QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59), QTimeZone::utc()) },
        { "data", QByteArray("\0\x01\xff binary", 10) },
        { "nested", inner },
    };
}

void expectRefused(const QByteArray& data, qint64 code)
{
    Error error;
    EXPECT_FALSE(PropertyList::fromData(data, &error).has_value()) << data.left(80).constData();
    EXPECT_EQ(error.domain(), PropertyList::errorDomain());
    EXPECT_EQ(error.code(), code) << error.description().toStdString();
    EXPECT_FALSE(error.description().isEmpty());
}

} // namespace

TEST(PropertyList, RoundTripsEveryKindNestedThroughAFile)
{
    const QString path = freshTestFolder("plist-roundtrip") + "/every kind.plist";
    Error error;
    ASSERT_TRUE(PropertyList::toFile(everyKind(), path, &error)) << error.description().toStdString();

    const auto back = PropertyList::dictionaryFromFile(path, &error);
    ASSERT_TRUE(back.has_value()) << error.description().toStdString();
    EXPECT_EQ(*back, everyKind());
    // Types survive, not just values that compare equal after conversion.
    EXPECT_EQ(back->value("integer").typeId(), QMetaType::LongLong);
    EXPECT_EQ(back->value("unsigned").typeId(), QMetaType::ULongLong);
    EXPECT_EQ(back->value("real").typeId(), QMetaType::Double);
    EXPECT_EQ(back->value("true").typeId(), QMetaType::Bool);
    EXPECT_EQ(back->value("date").toDateTime().timeSpec(), Qt::UTC);
}

TEST(PropertyList, ReadsHandWrittenXml)
{
    const auto value = PropertyList::fromData(wrap("<dict><key>a</key><array><integer>-5</integer><real>1.5</real>"
                                                   "<string>x</string><true/><dict/><array/></array></dict>"));
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->toMap().value("a").toList(), (QVariantList { qint64(-5), 1.5, "x", true, QVariantMap(), QVariantList() }));
}

TEST(PropertyList, RefusesCorruptInput)
{
    const QByteArray good = *PropertyList::toData(everyKind());
    expectRefused(QByteArray(), PropertyList::NotAPropertyList);
    expectRefused("  \n ", PropertyList::NotAPropertyList);
    expectRefused("this is not a property list", PropertyList::NotAPropertyList);
    expectRefused(QByteArray("\x00\x01\x02\xfe\xff garbage \x00", 16), PropertyList::NotAPropertyList);
    expectRefused("bplist00\x01\x02\x03", PropertyList::NotAPropertyList);
    for (qsizetype cut : { qsizetype(10), good.size() / 3, good.size() / 2, good.size() - 12 })
        expectRefused(good.left(cut), PropertyList::NotAPropertyList);
    expectRefused(wrap("<dict><key>a</key><integer>1</integer>"), PropertyList::NotAPropertyList);
}

TEST(PropertyList, RefusesHugeNestingBeforeParsing)
{
    const int depth = 200000;
    const QByteArray deep = wrap(QByteArray("<array>").repeated(depth) + QByteArray("</array>").repeated(depth));
    expectRefused(deep, PropertyList::TooDeep);
    const QByteArray deepDicts = wrap(QByteArray("<dict><key>k</key>").repeated(depth) + QByteArray("<true/>") + QByteArray("</dict>").repeated(depth));
    expectRefused(deepDicts, PropertyList::TooDeep);

    const int allowed = PropertyList::kMaximumDepth;
    const QByteArray fine = wrap(QByteArray("<array>").repeated(allowed) + QByteArray("</array>").repeated(allowed));
    EXPECT_TRUE(PropertyList::fromData(fine).has_value());
}

TEST(PropertyList, ReportsWrongRootAndMissingFile)
{
    const QString folder = freshTestFolder("plist-root");
    ASSERT_TRUE(PropertyList::toFile(QVariantList { 1, 2 }, folder + "/list.plist"));
    Error error;
    EXPECT_FALSE(PropertyList::dictionaryFromFile(folder + "/list.plist", &error).has_value());
    EXPECT_EQ(error.code(), PropertyList::WrongRootType);

    EXPECT_FALSE(PropertyList::dictionaryFromFile(folder + "/missing.plist", &error).has_value());
    EXPECT_EQ(error.code(), PropertyList::ReadFailed);
}

TEST(PropertyList, RefusesValuesItCannotWriteExactly)
{
    const QString path = freshTestFolder("plist-unwritable") + "/kept.plist";
    ASSERT_TRUE(PropertyList::toFile(QVariantMap { { "kept", true } }, path));

    const QVariantList unwritable {
        QVariantMap { { "list", QVariantList { 1, QVariant() } } },
        QVariantMap { { "text", QStringLiteral("bell\a") } },
        QVariantMap { { QStringLiteral("key\x01"), 1 } },
        QVariant::fromValue(QDate(2020, 1, 1)),
        QDateTime(),
        QDateTime(QDate(10000, 1, 1), QTime(0, 0), QTimeZone::utc()),
        QDateTime(QDate(-1, 12, 31), QTime(23, 59), QTimeZone::utc()),
        QMap<QString, QVariant> { { "name", QStringLiteral("non-character \uFFFF") } },
    };
    for (const QVariant& value : unwritable) {
        Error error;
        EXPECT_FALSE(PropertyList::toFile(value, path, &error)) << value.typeName();
        EXPECT_EQ(error.code(), PropertyList::UnrepresentableValue);
    }
    // A refused write leaves the previous file as it was.
    EXPECT_EQ(PropertyList::dictionaryFromFile(path), (QVariantMap { { "kept", true } }));

    Error error;
    ASSERT_FALSE(PropertyList::toData(QVariantMap { { "a", QVariantMap { { "b", QVariantList { QVariant() } } } } }, &error));
    EXPECT_TRUE(error.description().contains("a.b[0]")) << error.description().toStdString();
}

TEST(PropertyList, HoldsStringsOfEveryCodePointClassXmlCanCarry)
{
    const QString held[] = {
        QStringLiteral("tab\t newline\n return\r"), QStringLiteral("latin é, CJK 日本, RTL \u05D0"),
        QString::fromUcs4(U"astral \U0001F600 and \U0010FFFD"), QStringLiteral("private \uE000, last BMP \uFFFD"),
        QStringLiteral("combining e\u0301, zero width \u200B, BOM \uFEFF"), QStringLiteral("DEL \x7F, C1 \u0085"),
    };
    for (const QString& text : held) {
        EXPECT_TRUE(PropertyList::canHoldString(text)) << text.toStdString();
        const auto back = PropertyList::fromData(*PropertyList::toData(QVariantMap { { text, text } }));
        ASSERT_TRUE(back);
        EXPECT_EQ(back->toMap(), (QVariantMap { { text, text } })) << text.toStdString();
    }
    const QString refused[] = {
        QStringLiteral("nul \0 inside"), QStringLiteral("bell \a"),
        QStringLiteral("escape \x1B"), QStringLiteral("non-character \uFFFE"), QString(QChar(0xD800)) + QStringLiteral("lone surrogate"),
    };
    for (const QString& text : refused) {
        EXPECT_FALSE(PropertyList::canHoldString(text));
        EXPECT_FALSE(PropertyList::toData(QVariantMap { { "name", text } }));
    }
}

TEST(PropertyList, ReadsDatesOfEveryYearAsWrittenByHand)
{
    const auto read = [](const QByteArray& date) {
        const auto value = PropertyList::fromData("<plist version=\"1.0\"><date>" + date + "</date></plist>");
        return value ? value->toDateTime() : QDateTime();
    };
    EXPECT_EQ(read("0001-01-01T00:00:00Z"), QDateTime(QDate(1, 1, 1), QTime(0, 0), QTimeZone::utc()));
    EXPECT_EQ(read("1-01-01T00:00:00Z"), QDateTime(QDate(1, 1, 1), QTime(0, 0), QTimeZone::utc()));
    EXPECT_EQ(read("1850-07-04T12:00:00Z"), QDateTime(QDate(1850, 7, 4), QTime(12, 0), QTimeZone::utc()));
    EXPECT_EQ(read("3000-02-28T06:07:08Z"), QDateTime(QDate(3000, 2, 28), QTime(6, 7, 8), QTimeZone::utc()));
}

// Other readers must take our files too: Python's plistlib refuses a year of
// fewer than four digits, and writes its own with four.
TEST(PropertyList, DatesOfTheFirstAndLastYearsAreReadByOtherReaders)
{
    const QString folder = freshTestFolder("plist-python");
    const QVariantMap dates { { "first", QDateTime(QDate(1, 1, 1), QTime(0, 0), QTimeZone::utc()) },
                              { "last", QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59), QTimeZone::utc()) } };
    ASSERT_TRUE(PropertyList::toFile(dates, folder + "/ours.plist"));
    const QByteArray written = readFile(folder + "/ours.plist");
    EXPECT_TRUE(written.contains("<date>0001-01-01T00:00:00Z</date>")) << written.constData();
    EXPECT_TRUE(written.contains("<date>9999-12-31T23:59:59Z</date>")) << written.constData();

    QProcess python;
    python.setWorkingDirectory(folder);
    python.start("python3", { "-c", "import datetime, plistlib\n"
                                    "ours = plistlib.load(open('ours.plist', 'rb'))\n"
                                    "print(ours['first'].isoformat(), ours['last'].isoformat())\n"
                                    "plistlib.dump({'first': datetime.datetime(1, 1, 1), 'last': datetime.datetime(9999, 12, 31, 23, 59, 59)},\n"
                                    "              open('theirs.plist', 'wb'))\n" });
    ASSERT_TRUE(python.waitForFinished(30000));
    EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    EXPECT_EQ(python.readAllStandardOutput().trimmed(), "0001-01-01T00:00:00 9999-12-31T23:59:59");
    EXPECT_EQ(PropertyList::dictionaryFromFile(folder + "/theirs.plist"), dates);
}

TEST(PropertyList, WriteFailureIsReportedWithItsCause)
{
    Error error;
    EXPECT_FALSE(PropertyList::toFile(QVariantMap(), freshTestFolder("plist-nodir") + "/no/such/folder/x.plist", &error));
    EXPECT_EQ(error.code(), PropertyList::WriteFailed);
    EXPECT_TRUE(error.description().endsWith("No such file or directory")) << error.description().toStdString();
}

TEST(PropertyList, RefusesWhatItCannotReadExactlyNamingWhere)
{
    const auto refusedAt = [](const QByteArray& body, const char* where) {
        Error error;
        EXPECT_FALSE(PropertyList::fromData(wrap(body), &error).has_value()) << body.constData();
        EXPECT_EQ(error.code(), PropertyList::MalformedValue) << body.constData();
        EXPECT_TRUE(error.description().contains(QLatin1String(where))) << error.description().toStdString();
    };
    for (const QByteArray date : { "2006-13-45T99:99:99Z", "2006-10-01T09:00:00+05:00", "2006-02-30T00:00:00Z", "2006-10-01T24:00:00Z",
                                   "2006-10-01T09:00:00.5Z", "2006-10-01", "0000-01-01T00:00:00Z", "10000-01-01T00:00:00Z", "", "-1-01-01T00:00:00Z" })
        refusedAt("<dict><key>a</key><array><true/><dict><key>b</key><date>" + date + "</date></dict></array></dict>", "a[1].b");
    refusedAt("<array><date/></array>", "[0]");
    refusedAt("<dict><key>name</key><string>caf\xc3</string></dict>", "name");
    refusedAt("<dict><key>name</key><string>\xed\xa0\x80 surrogate</string></dict>", "name");
    refusedAt("<dict><key>outer</key><dict><key>\xff</key><true/></dict></dict>", "outer");

    // A date and a byte-order mark are read as they stand.
    const auto value = PropertyList::fromData(wrap("<dict><key>a</key><date>\n 2006-10-01T09:05:00Z </date >"
                                                   "<key>b</key><string>\xef\xbb\xbf" "marked</string></dict>"));
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->toMap().value("a"), QDateTime(QDate(2006, 10, 1), QTime(9, 5), QTimeZone::utc()));
    EXPECT_EQ(value->toMap().value("b"), QString(QChar(0xFEFF)) + "marked");
}

TEST(PropertyList, DatesInCommentsAndCharacterDataAreText)
{
    const auto value = PropertyList::fromData(wrap("<dict><!-- <date>bad</date> --><key>text</key><string><![CDATA[<date>x</date>]]></string>"
                                                   "<key>when</key><date>2001-01-01T00:00:00Z</date></dict>"));
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->toMap(), (QVariantMap { { "text", "<date>x</date>" },
                                             { "when", QDateTime(QDate(2001, 1, 1), QTime(0, 0), QTimeZone::utc()) } }));
    // A key given twice keeps its last date, as libplist keeps the last value.
    const auto twice = PropertyList::fromData(wrap("<dict><key>a</key><date>1999-01-01T00:00:00Z</date><key>a</key><date>2003-01-01T00:00:00Z</date></dict>"));
    ASSERT_TRUE(twice.has_value());
    EXPECT_EQ(twice->toMap().value("a"), QDateTime(QDate(2003, 1, 1), QTime(0, 0), QTimeZone::utc()));
    for (const QByteArray unclosed : { "<date>2001-01-01T00:00:00Z", "<date>2001-01-01T00:00:00Z</dat>", "<date x>2001-01-01T00:00:00Z</date>" })
        expectRefused(wrap(unclosed), PropertyList::NotAPropertyList);
}

TEST(PropertyList, OneSizeLimitForWritingAndReading)
{
    const QVariantMap value { { "text", QString(200, QLatin1Char('x')) } };
    const qint64 size = PropertyList::toData(value)->size();
    EXPECT_TRUE(PropertyList::toData(value, nullptr, size).has_value());
    Error error;
    EXPECT_FALSE(PropertyList::toData(value, &error, size - 1).has_value());
    EXPECT_EQ(error.code(), PropertyList::TooLarge);

    const QString path = freshTestFolder("plist-limit") + "/limited.plist";
    ASSERT_TRUE(PropertyList::toFile(value, path, nullptr, size));
    EXPECT_TRUE(PropertyList::fromFile(path, nullptr, size).has_value());
    EXPECT_FALSE(PropertyList::fromFile(path, &error, size - 1).has_value());
    EXPECT_EQ(error.code(), PropertyList::TooLarge);
    EXPECT_FALSE(PropertyList::fromData(*PropertyList::toData(value), &error, size - 1).has_value());
    EXPECT_EQ(error.code(), PropertyList::TooLarge);
}

TEST(PropertyList, TheStepBeforeReplacingRunsOnlyOnceTheNewFileIsWritten)
{
    const QString path = freshTestFolder("plist-replacing") + "/file.plist";
    ASSERT_TRUE(PropertyList::toFile(QVariantMap { { "old", true } }, path));
    QList<QVariant> seen;
    const auto before = [&] { seen.append(PropertyList::dictionaryFromFile(path).value_or(QVariantMap())); };
    EXPECT_FALSE(PropertyList::toFile(QVariantMap { { "bad", QStringLiteral("\a") } }, path, nullptr, PropertyList::kMaximumFileSize, before));
    EXPECT_FALSE(PropertyList::toFile(QVariantMap { { "large", true } }, path, nullptr, 10, before));
    EXPECT_TRUE(seen.isEmpty());
    EXPECT_TRUE(PropertyList::toFile(QVariantMap { { "new", true } }, path, nullptr, PropertyList::kMaximumFileSize, before));
    EXPECT_EQ(seen, (QList<QVariant> { QVariantMap { { "old", true } } })) << "run while the old file is still in place";
    EXPECT_EQ(PropertyList::dictionaryFromFile(path), (QVariantMap { { "new", true } }));
}

TEST(PropertyList, TextThatCannotBeHeldIsShownByWholeCharacters)
{
    const QString name = QString::fromUcs4(U"Fire\U0001F525fox\x07") + QChar(0xDC00) + QStringLiteral("\uFFFF end");
    EXPECT_FALSE(PropertyList::canHoldString(name));
    EXPECT_EQ(PropertyList::holdableString(name), QString::fromUcs4(U"Fire\U0001F525fox\uFFFD\uFFFD\uFFFD end"));
    const QString held = QString::fromUcs4(U"astral \U0001F600");
    EXPECT_EQ(PropertyList::holdableString(held), held);
}
