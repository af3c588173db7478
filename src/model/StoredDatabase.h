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
        StartupConditionType type = StartupConditionTypeScheduled;
        QVariant name;
        // Model attribute name -> value, for every stored attribute of the kind.
        QVariantMap data;
        QList<QVariantMap> scheduleEntries;
    };

    struct Item {
        LoginItemType type = LoginItemTypeFile;
        QString path;
        ItemStartupMode startupMode = ItemStartupModeShown;
        double delay = 0;
        QVariant mode;
        // Positions in StoredDatabase::conditions, ascending, without repeats.
        QList<qsizetype> conditions;
    };

    QList<Condition> conditions;
    QList<Item> applicationItems;
    QList<Item> ignoredItems;
};
