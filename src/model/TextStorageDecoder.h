#pragma once
// Checks the root value of a database file and turns it into a StoredDatabase.
//
// A file is hostile input: every record and value is checked for its type
// before anything reaches a context, so a bad file fails as a whole and never
// leaves half a database behind. Every value the model can hold loads as it is
// (enumerations with any 32-bit value, which the rules judge); a condition of a
// kind this version does not know is kept with its whole record, so that it is
// written back unchanged and, judged, refuses. A delay no countdown can end
// loads as no delay.
#include "model/StoredDatabase.h"
#include "model/TextStorageFormat.h"

#include <QVariant>
#include <optional>

class TextStorageDecoder {
public:
    // Logs what was wrong and the part that failed to load.
    static std::optional<StoredDatabase> decode(const QVariant& root);

private:
    explicit TextStorageDecoder(const QVariantMap& root);

    bool decodeConditions();
    bool decodeItems(const QLatin1String& key, QList<StoredDatabase::Item>* items);
    bool decodeCondition(const QVariant& record, const QString& where);
    bool decodeItem(const QVariant& record, const QString& where, QList<StoredDatabase::Item>* items);
    bool decodeItemConditions(const QVariantMap& record, const QString& where, StoredDatabase::Item* item);

    bool list(const QVariantMap& map, const QString& key, const QString& where, QVariantList* result);
    bool dictionary(const QVariant& value, const QString& where, QVariantMap* result);
    bool optionalString(const QVariantMap& map, const QString& key, const QString& where, QVariant* result);
    bool fields(const QVariantMap& record, const std::vector<TextStorageFormat::Field>& wanted, const QString& where, QVariantMap* result);
    bool problem(const QString& text);

    const QVariantMap m_root;
    StoredDatabase m_database;
};
