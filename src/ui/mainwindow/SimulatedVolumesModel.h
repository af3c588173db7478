#pragma once
// The volumes of the simulation, one row each, checked when the simulated
// machine has it mounted.
#include "model/AttachedVolumeData.h"

#include <QAbstractListModel>

class SimulatedVolumesModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    const QList<AttachedVolumeData>& volumes() const { return m_volumes; }
    void setVolumes(const QList<AttachedVolumeData>& volumes);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

Q_SIGNALS:
    // The user checked or unchecked a volume.
    void attachedStatusChanged();

private:
    QList<AttachedVolumeData> m_volumes;
};
