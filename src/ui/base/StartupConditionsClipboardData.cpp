#include "ui/base/StartupConditionsClipboardData.h"

#include "model/DBStartupCondition.h"
#include "model/ObjectContext.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QMimeData>
#include <QSet>
#include <algorithm>

const QString StartupConditionsClipboardData::mimeType = QStringLiteral("application/x-lanternwick-startup-conditions");

QMimeData* StartupConditionsClipboardData::mimeDataWithConditions(const QList<DBStartupCondition*>& conditions)
{
    QStringList identifiers;
    for (const DBStartupCondition* condition : conditions)
        identifiers.append(condition->objectID().uriRepresentation());
    std::sort(identifiers.begin(), identifiers.end());
    auto* data = new QMimeData;
    data->setData(mimeType, QJsonDocument(QJsonArray::fromStringList(identifiers)).toJson(QJsonDocument::Compact));
    return data;
}

std::optional<QList<DBStartupCondition*>> StartupConditionsClipboardData::conditionsFromMimeData(const QMimeData* data,
                                                                                                  const ObjectContext& context)
{
    if (!data || !data->hasFormat(mimeType))
        return std::nullopt;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(data->data(mimeType), &error);
    if (error.error != QJsonParseError::NoError || !document.isArray())
        return std::nullopt;
    QSet<ObjectID> listed;
    for (const QJsonValue& value : document.array()) {
        const std::optional<ObjectID> id = value.isString() ? ObjectID::fromUriRepresentation(value.toString()) : std::nullopt;
        if (!id || id->contextID() != context.identifier() || id->entityName() != DBStartupCondition::entityDescription().name())
            return std::nullopt;
        listed.insert(*id);
    }
    QList<DBStartupCondition*> conditions = context.sortedStartupConditions();
    conditions.removeIf([&listed](const DBStartupCondition* condition) { return !listed.contains(condition->objectID()); });
    return conditions;
}
