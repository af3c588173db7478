// Every hostile file fails with its error, never crashes, and leaves the
// context exactly as it was.
#include "StorageTestFixture.h"
#include "foundation/MHErrors.h"
#include "model/DBFileItem.h"

#include <ostream>

namespace {

struct CorruptFile {
    const char* name;
    QByteArray bytes;
    // The codec's own error for files that are no property list at all, or
    // hold a value it cannot read exactly.
    bool parseError = false;
    // Where that value is, named in the error.
    const char* keyPath = nullptr;
};

// Keeps the test runner's listing readable.
void PrintTo(const CorruptFile& file, std::ostream* out)
{
    *out << file.name;
}

QByteArray plist(const QByteArray& root)
{
    return R"(<?xml version="1.0" encoding="UTF-8"?><plist version="1.0">)" + root + "</plist>";
}

QByteArray withItem(const QByteArray& body)
{
    return plist("<dict><key>application</key><array><dict>" + body + "</dict></array></dict>");
}

QByteArray withCondition(const QByteArray& body)
{
    return plist("<dict><key>conditions</key><array><dict>" + body + "</dict></array></dict>");
}

QByteArray referencing(const QByteArray& indexes)
{
    return plist("<dict><key>conditions</key><array><dict><key>type</key><string>hotkey</string></dict></array>"
                 "<key>application</key><array><dict><key>type</key><string>waitPrevious</string><key>conditions</key>"
                 + indexes + "</dict></array></dict>");
}

const QByteArray kDelay = "<key>type</key><string>delay</string><key>delay</key>";
const QByteArray kHotkey = "<key>type</key><string>hotkey</string>";
const QByteArray kSchedule = "<key>type</key><string>schedule</string><key>schedules</key>";

const CorruptFile kCorruptFiles[] = {
    { "empty", "", true },
    { "truncated", plist("<dict><key>application</key><array><dict>").chopped(8), true },
    { "not a property list", "hello, world\n", true },
    { "binary", QByteArray("bplist00\x08\x00\x00\x00\x00", 13), true },
    { "absurdly deep", plist(QByteArray("<array>").repeated(5000) + QByteArray("</array>").repeated(5000)), true },
    { "root array", plist("<array/>") },
    { "root string", plist("<string>Lanternwick</string>") },
    { "application not an array", plist("<dict><key>application</key><dict/></dict>") },
    { "ignored not an array", plist("<dict><key>ignored</key><integer>3</integer></dict>") },
    { "conditions not an array", plist("<dict><key>conditions</key><string>x</string></dict>") },
    { "item not a dictionary", plist("<dict><key>application</key><array><integer>1</integer></array></dict>") },
    { "item without type", withItem("<key>path</key><string>/a</string>") },
    { "item type not a string", withItem("<key>type</key><integer>0</integer>") },
    { "item of unknown type", withItem("<key>type</key><string>script</string>") },
    { "file without path", withItem("<key>type</key><string>file</string>") },
    { "path not a string", withItem("<key>type</key><string>file</string><key>path</key><array/>") },
    { "delay missing", withItem("<key>type</key><string>delay</string>") },
    { "delay a string", withItem(kDelay + "<string>5</string>") },
    { "mode beyond 32 bits", withItem("<key>type</key><string>conditionalPrevious</string><key>mode</key><integer>2147483648</integer>") },
    { "path with a control character", withItem("<key>type</key><string>file</string><key>path</key><string>/a\x01" "b</string>") },
    { "mode a real", withItem("<key>type</key><string>conditionalPrevious</string><key>mode</key><real>1</real>") },
    { "item conditions not an array", referencing("<integer>0</integer>") },
    { "condition index a string", referencing("<array><string>0</string></array>") },
    { "condition index negative", referencing("<array><integer>-1</integer></array>") },
    { "condition index dangling", referencing("<array><integer>1</integer></array>") },
    { "condition index huge", referencing("<array><integer>9223372036854775807</integer></array>") },
    { "condition index above the signed range", referencing("<array><integer>18446744073709551615</integer></array>") },
    { "dangling index without conditions", withItem("<key>type</key><string>waitPrevious</string><key>conditions</key><array><integer>0</integer></array>") },
    { "condition not a dictionary", plist("<dict><key>conditions</key><array><true/></array></dict>") },
    { "condition name not a string", withCondition(kHotkey + "<key>name</key><integer>7</integer>") },
    { "hotkey status beyond 32 bits", withCondition(kHotkey + "<key>hotkeyStatus</key><integer>-2147483649</integer>") },
    { "name with a control character", withCondition(kHotkey + "<key>name</key><string>a\x1b" "b</string>") },
    { "unknown kind holding a control character", withCondition("<key>type</key><string>bluetooth</string><key>device</key><string>\x07</string>") },
    { "hotkey combination a string", withCondition(kHotkey + "<key>hotkeyCombination</key><string>2</string>") },
    { "power source a real", withCondition("<key>type</key><string>powerSource</string><key>powerSourceType</key><real>1</real>") },
    { "volume status huge", withCondition("<key>type</key><string>volume</string><key>volumeStatus</key><integer>1099511627776</integer>") },
    { "volume path not a string", withCondition("<key>type</key><string>volume</string><key>volumePath</key><data>AAE=</data>") },
    { "network name an array", withCondition("<key>type</key><string>network</string><key>networkName</key><array/>") },
    { "network mode a boolean", withCondition("<key>type</key><string>network</string><key>networkMode</key><false/>") },
    { "schedules a dictionary", withCondition(kSchedule + "<dict/>") },
    { "schedule entry a string", withCondition(kSchedule + "<array><string>monday</string></array>") },
    { "schedule day beyond 32 bits", withCondition(kSchedule + "<array><dict><key>day</key><integer>4294967296</integer></dict></array>") },
    { "schedule time a string", withCondition(kSchedule + "<array><dict><key>from</key><string>09:00</string></dict></array>") },
    // Read as other values by a lenient parser: never loaded as anything.
    { "schedule time out of every range", withCondition(kSchedule + "<array><dict><key>from</key><date>2006-13-45T99:99:99Z</date></dict></array>"),
      true, "conditions[0].schedules[0].from" },
    { "schedule time with an offset", withCondition(kSchedule + "<array><dict><key>day</key><integer>1</integer><key>to</key>"
                                                                "<date>2006-10-01T09:00:00+05:00</date></dict></array>"),
      true, "conditions[0].schedules[0].to" },
    { "schedule time without a time", withCondition(kSchedule + "<array><dict><key>to</key><date>2006-10-01</date></dict></array>"),
      true, "conditions[0].schedules[0].to" },
    { "empty schedule time", withCondition(kSchedule + "<array><dict><key>from</key><date/></dict></array>"), true, "conditions[0].schedules[0].from" },
    { "path not UTF8", withItem("<key>type</key><string>file</string><key>path</key><string>/opt/\xff\xfe" "app</string>"), true,
      "application[0].path" },
    { "name cut inside a character", withCondition(kHotkey + "<key>name</key><string>caf\xc3</string>"), true, "conditions[0].name" },
    { "key not UTF8", withItem("<key>type</key><string>waitPrevious</string><key>\xc0\xaf</key><true/>"), true, "application[0]" },
};

class TextStorageCorruptFilesTest : public StorageTest, public testing::WithParamInterface<CorruptFile> {};

TEST_P(TextStorageCorruptFilesTest, FailsWithItsErrorAndLeavesTheContextAlone)
{
    DBFileItem* existing = context.createFileItemWithPath("/kept");
    existing->setItemLoginGroup(context.getOrCreateApplicationLoginGroup());
    context.markSaved();
    const QString before = dumpContext(context);

    writeBytes(store, GetParam().bytes);
    Error error;
    EXPECT_FALSE(makeSerializer()->loadDatabaseToManagedObjectContext(context, &error));
    if (GetParam().parseError) {
        EXPECT_EQ(error.domain(), PropertyList::errorDomain());
        if (GetParam().keyPath) {
            EXPECT_TRUE(error.description().contains(QLatin1String(GetParam().keyPath))) << error.description().toStdString();
        }
    } else {
        EXPECT_EQ(error.domain(), MHErrors::domain);
        EXPECT_EQ(error.code(), MHErrors::MHErrorCodeTextStorageLoadingFailed);
        EXPECT_EQ(error.description(), texts.errorDescriptionForFailedTextStorageLoading());
    }
    EXPECT_EQ(dumpContext(context), before);
    EXPECT_FALSE(context.hasChanges());
}

INSTANTIATE_TEST_SUITE_P(Files, TextStorageCorruptFilesTest, testing::ValuesIn(kCorruptFiles), [](const auto& info) {
    std::string name = info.param.name;
    std::replace(name.begin(), name.end(), ' ', '_');
    return name;
});

} // namespace
