#pragma once
// Which volumes the simulated machine has mounted, in a popover of the
// simulation bar: the volumes mounted now and those the conditions name.
// The list is made again whenever a volume is mounted or unmounted; the
// user's choices stay with their volumes.
#include "model/AttachedVolumeData.h"
#include "ui/base/ViewControllerBase.h"

class QListView;
class SimulatedVolumesModel;

class SimulateVolumeDataBottomBarViewController : public ViewControllerBase {
    Q_OBJECT
public:
    explicit SimulateVolumeDataBottomBarViewController(QWidget* parent = nullptr);

    QList<AttachedVolumeData> volumes() const;
    SimulatedVolumesModel* volumesModel() const { return m_volumesModel; }

    void updateVolumes();
    void notifyDelegate();

Q_SIGNALS:
    void volumesChanged(const QList<AttachedVolumeData>& volumes);

protected:
    void awakeFromNib() override;

private:
    SimulatedVolumesModel* m_volumesModel = nullptr;
    QListView* m_volumesView = nullptr;
};
