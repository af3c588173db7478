#include "model/OldStoreGraph.h"

std::optional<qint64> OldStoreGraph::related(const OldStoreObject& object, qint64 key, const QString& relationship,
                                             const QString& destinationRoot, const QString& inverse) const
{
    if (object.toOne.contains(relationship))
        return object.toOne.value(relationship);
    const QList<qint64> keys = referring(destinationRoot, inverse, key);
    return keys.isEmpty() ? std::nullopt : std::optional<qint64>(keys.first());
}

QList<qint64> OldStoreGraph::referring(const QString& root, const QString& relationship, qint64 key) const
{
    QList<qint64> keys;
    const auto table = objects.constFind(root);
    if (table == objects.cend())
        return keys;
    for (auto it = table->cbegin(); it != table->cend(); ++it)
        if (it->toOne.contains(relationship) && it->toOne.value(relationship) == key)
            keys.append(it.key());
    return keys;
}
