#pragma once
// Turns the objects of an old store under the current model into the root
// dictionary of the database file. A record the file cannot hold (an item
// without a path or outside both groups, a schedule entry out of range) is
// left out with a warning, so that one odd record never blocks the whole
// conversion. Every record that is kept loads: each is checked by the file's
// own loader.
//
// A conversion never lets an item run more often than before. A condition
// always stays with its items: one whose rule cannot be carried (no data, a
// value the file cannot hold) is kept like a condition of a kind this version
// does not know, which refuses, so its items do not start until the user
// changes it; in a name, a character the file cannot hold is shown as U+FFFD.
#include "model/OldStoreGraph.h"

#include <QSet>
#include <QVariantMap>

class OldStoreConverter {
public:
    // changed, when given, receives what was not carried as it was, in the
    // file's form: "conditions" the conditions the conversion changed, and
    // "application" the items of both groups that use them, each naming only
    // those conditions. Empty when everything was carried.
    static QVariantMap dictionaryRepresentation(const OldStoreGraph& graph, QVariantMap* changed = nullptr);

private:
    explicit OldStoreConverter(const OldStoreGraph& graph);

    void convertConditions();
    void convertItems();
    QVariantMap conditionRecord(qint64 key, const OldStoreObject& condition, bool* changed) const;
    QVariantList scheduleRecords(qint64 dataKey, bool* changed) const;
    std::optional<QVariantMap> itemRecord(qint64 key, const OldStoreObject& item) const;
    QVariantMap changedPart() const;

    const OldStoreGraph& m_graph;
    QVariantMap m_root;
    // Key of each condition written -> its index in the file.
    QHash<qint64, qint64> m_conditionIndexes;
    // Indexes in the file of the conditions not carried as they were.
    QSet<qint64> m_changedConditions;
};
