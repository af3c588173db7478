#pragma once
// The content of a database file after it has been checked in full: every
// value has its model type and range, so putting it into a context cannot fail.
// Absent values are invalid QVariants.
#include "model/ModelEnumerations.h"

#include <QList>
#include <QString>
#include <QVariantMap>

struct StoredDatabase {
    struct Condition {
        // Any value: a kind this version does not know has no data here but
        // its whole record in keptRecord.
        int32_t type = StartupConditionTypeScheduled;
        QVariant name;
        QVariantMap keptRecord;
        // Model attribute name -> value, for every stored attribute of the kind.
        QVariantMap data;
        QList<QVariantMap> scheduleEntries;
    };

    struct Item {
        LoginItemType type = LoginItemTypeFile;
        QString path;
        int32_t startupMode = ItemStartupModeShown;
        double delay = 0;
        QVariant mode;
        // Positions in StoredDatabase::conditions, ascending, without repeats.
        QList<qsizetype> conditions;
    };

    QList<Condition> conditions;
    QList<Item> applicationItems;
    QList<Item> ignoredItems;
};
