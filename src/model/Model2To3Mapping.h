#pragma once
// The step from model version 2 to 3: item attributes get their "item" names,
// a condition keeps only the data of its own type, and a schedule condition's
// entries are gathered under one new ScheduledConditionData. Entries of
// conditions of other types are dropped.
#include "model/OldStoreGraph.h"

class Model2To3Mapping {
public:
    static OldStoreGraph migrate(const OldStoreGraph& source);

private:
    static void migrateLoginItems(const OldStoreGraph& source, OldStoreGraph* destination);
    static void migrateStartupConditions(const OldStoreGraph& source, OldStoreGraph* destination);
    static void endRelationshipCreationForStartupConditions(const OldStoreGraph& source, const OldStoreGraph& destination);
};
