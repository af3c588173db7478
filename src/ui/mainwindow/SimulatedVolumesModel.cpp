#include "ui/mainwindow/SimulatedVolumesModel.h"

void SimulatedVolumesModel::setVolumes(const QList<AttachedVolumeData>& volumes)
{
    beginResetModel();
    m_volumes = volumes;
    endResetModel();
}

int SimulatedVolumesModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_volumes.size());
}

QVariant SimulatedVolumesModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const AttachedVolumeData& volume = m_volumes[index.row()];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return volume.name().isEmpty() ? volume.path() : volume.name();
    case Qt::ToolTipRole:
        return volume.path();
    case Qt::CheckStateRole:
        return volume.attached() ? Qt::Checked : Qt::Unchecked;
    default:
        return {};
    }
}

bool SimulatedVolumesModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) || role != Qt::CheckStateRole)
        return false;
    m_volumes[index.row()].setAttached(value.toInt() == Qt::Checked);
    Q_EMIT dataChanged(index, index, { Qt::CheckStateRole });
    Q_EMIT attachedStatusChanged();
    return true;
}

Qt::ItemFlags SimulatedVolumesModel::flags(const QModelIndex& index) const
{
    return checkIndex(index, CheckIndexOption::IndexIsValid) ? Qt::ItemIsEnabled | Qt::ItemIsUserCheckable : Qt::NoItemFlags;
}
