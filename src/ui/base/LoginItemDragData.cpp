#include "ui/base/LoginItemDragData.h"

#include "foundation/MHItemDataKeys.h"
#include "foundation/MHItemDataValues.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QUuid>
#include <limits>

namespace {

const QLatin1String kProcessKey("process");

std::optional<LoginGroupType> groupFromText(const QString& text)
{
    if (text == MHItemDataValues::application)
        return LoginGroupTypeApplication;
    if (text == MHItemDataValues::ignored)
        return LoginGroupTypeIgnored;
    return std::nullopt;
}

std::optional<LoginItemDragData::Row> rowFromRecord(const QJsonValue& value)
{
    if (!value.isObject())
        return std::nullopt;
    const QJsonObject record = value.toObject();
    const QJsonValue description = record.value(MHItemDataKeys::description);
    const QJsonValue index = record.value(MHItemDataKeys::index);
    const QJsonValue group = record.value(MHItemDataKeys::group);
    const QJsonValue objectID = record.value(MHItemDataKeys::objectID);
    if (!description.isString() || !index.isDouble() || !group.isString() || !objectID.isString()
        || record.value(kProcessKey) != QJsonValue(LoginItemDragData::processMark()))
        return std::nullopt;
    const double number = index.toDouble();
    if (number < 0 || number > std::numeric_limits<int>::max() || number != static_cast<int>(number))
        return std::nullopt;
    const std::optional<LoginGroupType> groupType = groupFromText(group.toString());
    const std::optional<ObjectID> id = ObjectID::fromUriRepresentation(objectID.toString());
    if (!groupType || !id)
        return std::nullopt;
    return LoginItemDragData::Row { description.toString(), static_cast<int>(number), *groupType, *id };
}

} // namespace

const QString LoginItemDragData::mimeType = QStringLiteral("application/x-lanternwick-item-rows");

const QString& LoginItemDragData::processMark()
{
    static const QString mark = QStringLiteral("%1/%2").arg(QCoreApplication::applicationPid()).arg(QUuid::createUuid().toString(QUuid::WithoutBraces));
    return mark;
}

QByteArray LoginItemDragData::encode(const QList<Row>& rows)
{
    QJsonArray records;
    for (const Row& row : rows)
        records.append(QJsonObject {
            { MHItemDataKeys::description, row.description },
            { MHItemDataKeys::index, row.index },
            { MHItemDataKeys::group, row.group == LoginGroupTypeIgnored ? MHItemDataValues::ignored : MHItemDataValues::application },
            { MHItemDataKeys::objectID, row.objectID.uriRepresentation() },
            { kProcessKey, processMark() },
        });
    return QJsonDocument(records).toJson(QJsonDocument::Compact);
}

std::optional<QList<LoginItemDragData::Row>> LoginItemDragData::decode(const QByteArray& data)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(data, &error);
    if (error.error != QJsonParseError::NoError || !document.isArray() || document.array().isEmpty())
        return std::nullopt;
    QList<Row> rows;
    QSet<ObjectID> seen;
    for (const QJsonValue& value : document.array()) {
        const std::optional<Row> row = rowFromRecord(value);
        if (!row || seen.contains(row->objectID) || (!rows.isEmpty() && rows.first().group != row->group))
            return std::nullopt;
        seen.insert(row->objectID);
        rows.append(*row);
    }
    return rows;
}
