#include "ui/inspector/StartupConditionRowsModel.h"

#include "foundation/Log.h"
#include "model/DBStartupCondition.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMimeData>
#include <algorithm>

namespace {

const QString kSourceKey = QStringLiteral("source");
const QString kConditionsKey = QStringLiteral("conditions");
// More rows than any table holds: a larger payload is not ours.
constexpr qsizetype kMaximumDraggedRows = 10000;

} // namespace

const QString StartupConditionRowsModel::mimeType = QStringLiteral("application/x-lanternwick-condition-rows");

StartupConditionRowsModel::StartupConditionRowsModel(QObject* parent)
    : QAbstractListModel(parent)
{
}

void StartupConditionRowsModel::setConditions(const QList<DBStartupCondition*>& conditions)
{
    beginResetModel();
    m_conditions = conditions;
    endResetModel();
}

void StartupConditionRowsModel::objectsDidChange(const QList<ManagedObject*>& changed)
{
    for (qsizetype row = 0; row < m_conditions.size(); ++row)
        if (changed.contains(m_conditions[row])) {
            const QModelIndex index = this->index(static_cast<int>(row));
            Q_EMIT dataChanged(index, index, { Qt::DisplayRole, Qt::AccessibleTextRole });
        }
}

int StartupConditionRowsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_conditions.size());
}

QVariant StartupConditionRowsModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole) {
        const DBStartupCondition* condition = m_conditions[index.row()];
        return condition->isInserted() ? condition->conditionName() : QString();
    }
    return {};
}

Qt::ItemFlags StartupConditionRowsModel::flags(const QModelIndex& index) const
{
    // Only the space between rows takes drops.
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}

QMimeData* StartupConditionRowsModel::mimeData(const QModelIndexList& indexes) const
{
    QList<int> rows;
    for (const QModelIndex& index : indexes)
        if (checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid) && !rows.contains(index.row()))
            rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    QJsonArray identifiers;
    for (const int row : std::as_const(rows)) {
        LOG_VERBOSE("Dragging %1...", m_conditions[row]);
        identifiers.append(m_conditions[row]->objectID().uriRepresentation());
    }
    auto* data = new QMimeData();
    data->setData(mimeType, QJsonDocument(QJsonObject { { kSourceKey, m_token.toString() }, { kConditionsKey, identifiers } })
                                .toJson(QJsonDocument::Compact));
    return data;
}

std::optional<QList<ObjectID>> StartupConditionRowsModel::draggedObjectIDs(const QMimeData* data) const
{
    if (!data || !data->hasFormat(mimeType))
        return std::nullopt;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(data->data(mimeType), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject payload = document.object();
    if (payload.value(kSourceKey).toString() != m_token.toString())
        return std::nullopt;
    const QJsonValue conditions = payload.value(kConditionsKey);
    if (!conditions.isArray() || conditions.toArray().size() > kMaximumDraggedRows)
        return std::nullopt;
    QList<ObjectID> identifiers;
    for (const QJsonValue& value : conditions.toArray()) {
        const std::optional<ObjectID> identifier = ObjectID::fromUriRepresentation(value.toString());
        if (!identifier)
            return std::nullopt;
        identifiers.append(*identifier);
    }
    return identifiers;
}

bool StartupConditionRowsModel::canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int,
                                                const QModelIndex& parent) const
{
    return action == Qt::MoveAction && !parent.isValid() && row <= rowCount() && draggedObjectIDs(data).has_value();
}

bool StartupConditionRowsModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                                             const QModelIndex& parent)
{
    if (!canDropMimeData(data, action, row, column, parent)) {
        LOG_VERBOSE("Refusing a drop onto a condition row, or of rows from elsewhere");
        return false;
    }
    // Below the last row.
    const int position = row < 0 ? rowCount() : row;
    Q_EMIT rowsDropped(*draggedObjectIDs(data), position);
    return true;
}
