#pragma once
// Which model value goes under which word of the database file. Saving and
// loading read the same tables, so the two can never disagree on a key.
#include "model/ModelEnumerations.h"

#include <QLatin1String>
#include <QString>
#include <QVariant>
#include <vector>

class TextStorageFormat {
public:
    enum class FieldKind { Enumeration, String, Date };

    // One stored attribute of a condition's data or of a schedule entry.
    // Enumerations hold any 32-bit integer: the rules judge the values they do
    // not know, so a file keeps them as they are.
    struct Field {
        QLatin1String fileKey;
        QLatin1String attribute;
        FieldKind kind;
    };

    // One kind of condition: its word, the relationship to its data object
    // and the data's stored attributes (a schedule's entries come separately).
    struct ConditionKind {
        StartupConditionType type;
        QLatin1String word;
        QLatin1String dataRelationship;
        std::vector<Field> fields;
    };

    static const std::vector<ConditionKind>& conditionKinds();
    // Null for a type or word the format does not know.
    static const ConditionKind* conditionKindForType(int32_t type);
    static const ConditionKind* conditionKindForWord(const QString& word);
    static const std::vector<Field>& scheduleEntryFields();

    static QLatin1String itemTypeWord(LoginItemType type);
    // False for a word that names no item type.
    static bool itemTypeForWord(const QString& word, LoginItemType* type);
    // Empty for a mode without a word.
    static QLatin1String startupModeWord(int32_t mode);
    // The stored form: the word, or the integer of a mode without one.
    static QVariant storedStartupMode(int32_t mode);
    // From the stored form: a word in any other case, or anything else, is shown.
    static int32_t startupModeForStoredValue(const QVariant& value);
};
