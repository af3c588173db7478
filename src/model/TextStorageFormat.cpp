#include "model/TextStorageFormat.h"

#include "model/MHTextStorageKeys.h"

namespace Keys = MHTextStorageKeys;

namespace {

using Kind = TextStorageFormat::FieldKind;

TextStorageFormat::Field enumeration(QLatin1String key, int32_t valueCount)
{
    return { key, key, Kind::Enumeration, valueCount };
}

TextStorageFormat::Field text(QLatin1String key)
{
    return { key, key, Kind::String };
}

} // namespace

const std::vector<TextStorageFormat::ConditionKind>& TextStorageFormat::conditionKinds()
{
    static const std::vector<ConditionKind> kinds {
        { StartupConditionTypeScheduled, Keys::conditionTypeSchedule, QLatin1String("conditionScheduledData"), {} },
        { StartupConditionTypeHotkey, Keys::conditionTypeHotkey, QLatin1String("conditionHotkeyData"),
          { enumeration(Keys::hotkeyCombination, HotkeyCombinationCommand + 1), enumeration(Keys::hotkeyStatus, HotkeyStatusNotPressed + 1) } },
        { StartupConditionTypePowerSource, Keys::conditionTypePowerSource, QLatin1String("conditionPowerSourceData"),
          { enumeration(Keys::powerSourceType, PowerSourceTypeBattery + 1) } },
        { StartupConditionTypeMountedVolume, Keys::conditionTypeVolume, QLatin1String("conditionVolumeData"),
          { text(Keys::volumePath), enumeration(Keys::volumeStatus, VolumeStatusNotMounted + 1) } },
        { StartupConditionTypeNetwork, Keys::conditionTypeNetwork, QLatin1String("conditionNetworkData"),
          { text(Keys::networkName), enumeration(Keys::networkMode, NetworkModeNot + 1),
            enumeration(Keys::networkStatus, NetworkStatusConnected + 1) } },
    };
    return kinds;
}

const TextStorageFormat::ConditionKind* TextStorageFormat::conditionKindForType(int32_t type)
{
    for (const ConditionKind& kind : conditionKinds())
        if (kind.type == type)
            return &kind;
    return nullptr;
}

const TextStorageFormat::ConditionKind* TextStorageFormat::conditionKindForWord(const QString& word)
{
    for (const ConditionKind& kind : conditionKinds())
        if (kind.word == word)
            return &kind;
    return nullptr;
}

const std::vector<TextStorageFormat::Field>& TextStorageFormat::scheduleEntryFields()
{
    static const std::vector<Field> fields {
        { Keys::scheduleDay, QLatin1String("scheduleDay"), Kind::Enumeration, ScheduleDayEveryDay + 1 },
        { Keys::scheduleFrom, QLatin1String("scheduleFromTime"), Kind::Date },
        { Keys::scheduleTo, QLatin1String("scheduleToTime"), Kind::Date },
    };
    return fields;
}

namespace {

struct ItemTypeWord {
    LoginItemType type;
    QLatin1String word;
};

constexpr ItemTypeWord kItemTypeWords[] {
    { LoginItemTypeFile, Keys::itemTypeFile },
    { LoginItemTypeDelay, Keys::itemTypeDelay },
    { LoginItemTypeWaitPrevious, Keys::itemTypeWaitPrevious },
    { LoginItemTypeConditionalPrevious, Keys::itemTypeConditionalPrevious },
};

constexpr QLatin1String kStartupModeWords[] { Keys::startupModeShown, Keys::startupModeHidden, Keys::startupModeDisabled };

} // namespace

QLatin1String TextStorageFormat::itemTypeWord(LoginItemType type)
{
    for (const ItemTypeWord& entry : kItemTypeWords)
        if (entry.type == type)
            return entry.word;
    return {};
}

bool TextStorageFormat::itemTypeForWord(const QString& word, LoginItemType* type)
{
    for (const ItemTypeWord& entry : kItemTypeWords) {
        if (entry.word == word) {
            *type = entry.type;
            return true;
        }
    }
    return false;
}

QLatin1String TextStorageFormat::startupModeWord(int32_t mode)
{
    return mode >= 0 && mode < int32_t(std::size(kStartupModeWords)) ? kStartupModeWords[mode] : QLatin1String();
}

ItemStartupMode TextStorageFormat::startupModeForWord(const QString& word)
{
    for (int32_t mode = 0; mode < int32_t(std::size(kStartupModeWords)); ++mode)
        if (kStartupModeWords[mode] == word)
            return ItemStartupMode(mode);
    return ItemStartupModeShown;
}
