#pragma once
// The networks of the simulation, one row each, with a check for "in range"
// and one for "joined". Joining a network also puts it in range; leaving it
// keeps it in range.
#include "model/NetworkData.h"

#include <QAbstractTableModel>

class SimulatedNetworksModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { NameColumn, AvailableColumn, ConnectedColumn, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    const QList<NetworkData>& networks() const { return m_networks; }
    void setNetworks(const QList<NetworkData>& networks);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

Q_SIGNALS:
    // The user checked or unchecked one of a network's boxes.
    void statusChanged();

private:
    QList<NetworkData> m_networks;
};
