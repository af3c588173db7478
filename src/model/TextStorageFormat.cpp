#include "model/TextStorageFormat.h"

#include "model/MHTextStorageKeys.h"

#include <limits>

namespace Keys = MHTextStorageKeys;

namespace {

using Kind = TextStorageFormat::FieldKind;

TextStorageFormat::Field enumeration(QLatin1String key)
{
    return { key, key, Kind::Enumeration };
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
          { enumeration(Keys::hotkeyCombination), enumeration(Keys::hotkeyStatus) } },
        { StartupConditionTypePowerSource, Keys::conditionTypePowerSource, QLatin1String("conditionPowerSourceData"),
          { enumeration(Keys::powerSourceType) } },
        { StartupConditionTypeMountedVolume, Keys::conditionTypeVolume, QLatin1String("conditionVolumeData"),
          { text(Keys::volumePath), enumeration(Keys::volumeStatus) } },
        { StartupConditionTypeNetwork, Keys::conditionTypeNetwork, QLatin1String("conditionNetworkData"),
          { text(Keys::networkName), enumeration(Keys::networkMode),
            enumeration(Keys::networkStatus) } },
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
        { Keys::scheduleDay, QLatin1String("scheduleDay"), Kind::Enumeration },
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

QVariant TextStorageFormat::storedStartupMode(int32_t mode)
{
    const QLatin1String word = startupModeWord(mode);
    return word.isEmpty() ? QVariant(qint64(mode)) : QVariant(QString(word));
}

int32_t TextStorageFormat::startupModeForStoredValue(const QVariant& value)
{
    // Only modes without a word are written as integers.
    if (value.typeId() == QMetaType::LongLong && value.toLongLong() >= std::numeric_limits<int32_t>::min()
        && value.toLongLong() <= std::numeric_limits<int32_t>::max() && startupModeWord(int32_t(value.toLongLong())).isEmpty())
        return int32_t(value.toLongLong());
    for (int32_t mode = 0; mode < int32_t(std::size(kStartupModeWords)); ++mode)
        if (value.typeId() == QMetaType::QString && kStartupModeWords[mode] == value.toString())
            return mode;
    return ItemStartupModeShown;
}
