#pragma once
// Copied startup conditions on the clipboard: a JSON array of the URIs of the
// conditions' object IDs, sorted as text. The URIs name this database, so a
// list copied from another database, or anything else on the clipboard, is
// never taken for one.
#include <QList>
#include <QString>
#include <optional>

class DBStartupCondition;
class ObjectContext;
class QMimeData;

class StartupConditionsClipboardData {
public:
    static const QString mimeType;

    // The caller owns the result.
    static QMimeData* mimeDataWithConditions(const QList<DBStartupCondition*>& conditions);
    // The live conditions data names, in condition order, leaving out those
    // deleted since the copy; nothing unless data holds a list of condition
    // IDs of context's database.
    static std::optional<QList<DBStartupCondition*>> conditionsFromMimeData(const QMimeData* data, const ObjectContext& context);
};
