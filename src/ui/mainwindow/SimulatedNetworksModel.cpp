#include "ui/mainwindow/SimulatedNetworksModel.h"

#include "texts/Localizator.h"
#include "ui/mainwindow/SimulationInputs.h"

void SimulatedNetworksModel::setNetworks(const QList<NetworkData>& networks)
{
    beginResetModel();
    m_networks = networks;
    endResetModel();
}

int SimulatedNetworksModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_networks.size());
}

int SimulatedNetworksModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant SimulatedNetworksModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const NetworkData& network = m_networks[index.row()];
    if (index.column() == NameColumn)
        return role == Qt::DisplayRole || role == Qt::AccessibleTextRole ? QVariant(network.name()) : QVariant();
    if (role != Qt::CheckStateRole)
        return {};
    const bool checked = index.column() == AvailableColumn ? network.available() : network.connected();
    return checked ? Qt::Checked : Qt::Unchecked;
}

QVariant SimulatedNetworksModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    const Localizator& texts = Localizator::shared();
    switch (section) {
    case NameColumn:
        return texts.itemsPageText(Localizator::ItemsPageText::NameColumn);
    case AvailableColumn:
        return texts.itemsPageText(Localizator::ItemsPageText::NetworkAvailable);
    case ConnectedColumn:
        return texts.itemsPageText(Localizator::ItemsPageText::NetworkConnected);
    default:
        return {};
    }
}

bool SimulatedNetworksModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) || role != Qt::CheckStateRole || index.column() == NameColumn)
        return false;
    const bool checked = value.toInt() == Qt::Checked;
    NetworkData& network = m_networks[index.row()];
    if (index.column() == AvailableColumn) {
        network.setAvailable(checked);
    } else {
        network.setConnected(checked);
        SimulationInputs::makeConnectedNetworksAvailable(m_networks);
    }
    Q_EMIT dataChanged(this->index(index.row(), AvailableColumn), this->index(index.row(), ConnectedColumn), { Qt::CheckStateRole });
    Q_EMIT statusChanged();
    return true;
}

Qt::ItemFlags SimulatedNetworksModel::flags(const QModelIndex& index) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return Qt::NoItemFlags;
    return index.column() == NameColumn ? Qt::ItemIsEnabled : Qt::ItemIsEnabled | Qt::ItemIsUserCheckable;
}
