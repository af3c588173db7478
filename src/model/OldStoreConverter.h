#pragma once
// Turns the objects of an old store under the current model into the root
// dictionary of the database file. A record the file cannot hold (a condition
// of an unknown type or without its data, an item without a path or outside
// both groups, a value out of range, a date out of range) is left out with a
// warning, so that one odd record never blocks the whole conversion. Every
// record that is kept loads: each is checked by the file's own loader.
#include "model/OldStoreGraph.h"

#include <QVariantMap>

class OldStoreConverter {
public:
    static QVariantMap dictionaryRepresentation(const OldStoreGraph& graph);

private:
    explicit OldStoreConverter(const OldStoreGraph& graph);

    void convertConditions();
    void convertItems();
    std::optional<QVariantMap> conditionRecord(qint64 key, const OldStoreObject& condition) const;
    QVariantList scheduleRecords(qint64 dataKey) const;
    std::optional<QVariantMap> itemRecord(qint64 key, const OldStoreObject& item) const;

    const OldStoreGraph& m_graph;
    QVariantMap m_root;
    // Key of each condition written -> its index in the file.
    QHash<qint64, qint64> m_conditionIndexes;
};
