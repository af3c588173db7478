#include "ui/mainwindow/ExecutionErrorsModel.h"

#include "texts/Localizator.h"

#include <QIcon>

void ExecutionErrorsModel::appendRecord(const ExecutionErrorRecord& record)
{
    beginInsertRows({}, m_records.size(), m_records.size());
    m_records.append(record);
    endInsertRows();
}

void ExecutionErrorsModel::removeAllRecords()
{
    beginResetModel();
    m_records.clear();
    endResetModel();
}

const ExecutionErrorRecord* ExecutionErrorsModel::recordAt(int row) const
{
    return row >= 0 && row < m_records.size() ? &m_records[row] : nullptr;
}

int ExecutionErrorsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_records.size());
}

int ExecutionErrorsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ExecutionErrorsModel::data(const QModelIndex& index, int role) const
{
    const ExecutionErrorRecord* record = recordAt(index.row());
    if (!record || index.parent().isValid())
        return {};
    const Localizator& texts = Localizator::shared();
    switch (index.column()) {
    case NameColumn:
        if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole || role == Qt::ToolTipRole)
            return record->itemDisplayName;
        if (role == Qt::DecorationRole && !record->itemIconName.isEmpty())
            return QIcon::fromTheme(record->itemIconName, QIcon::fromTheme(QStringLiteral("application-x-executable")));
        break;
    case ErrorColumn:
        if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole || role == Qt::ToolTipRole)
            return record->errorMessage;
        break;
    case RevealColumn:
        if (record->itemPath.isEmpty())
            break;
        if (role == Qt::DecorationRole)
            return QIcon::fromTheme(QStringLiteral("folder-open"));
        if (role == Qt::AccessibleTextRole || role == Qt::ToolTipRole)
            return texts.itemsPageText(Localizator::ItemsPageText::RevealInFileManager);
        break;
    default:
        break;
    }
    return {};
}

QVariant ExecutionErrorsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    const Localizator& texts = Localizator::shared();
    if (section == NameColumn)
        return texts.itemsPageText(Localizator::ItemsPageText::NameColumn);
    if (section == ErrorColumn)
        return texts.itemsPageText(Localizator::ItemsPageText::ErrorColumn);
    return {};
}
