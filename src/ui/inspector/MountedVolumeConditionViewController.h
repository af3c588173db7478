#pragma once
// The editor of a volume condition: a volume that must be mounted, or must
// not be, at login. The list offers the volumes mounted now and, while it is
// not mounted, the condition's own volume; it follows mounts and unmounts.
#include "foundation/ScopedConnection.h"
#include "model/AttachedVolumeData.h"
#include "model/MHKVONotificationHelper.h"
#include "ui/inspector/StartupConditionViewControllerBase.h"

#include <memory>
#include <vector>

class ChoicePopUpButton;
class DBVolumeConditionData;
class QLabel;
class QUrl;

class MountedVolumeConditionViewController : public StartupConditionViewControllerBase {
    Q_OBJECT
public:
    MountedVolumeConditionViewController();
    ~MountedVolumeConditionViewController() override;

    const QList<AttachedVolumeData>& mountedVolumes() const { return m_mountedVolumes; }
    DBVolumeConditionData* representedVolumeData() const;
    void updateAttachedVolumes();

    ChoicePopUpButton* volumeNameView() const { return m_volumeNameView; }
    ChoicePopUpButton* volumeStatusView() const { return m_volumeStatusView; }

protected:
    void awakeFromNib() override;
    void representedObjectChangedFrom(const QVariant& previous, const QVariant& current) override;

private:
    void changeVolumeName(const QVariant& value);
    void changeVolumeStatus(const QVariant& value);
    void updateShownValues();
    QString localizedNameForURL(const QUrl& url) const;

    QList<AttachedVolumeData> m_mountedVolumes;
    QLabel* m_explanationView = nullptr;
    ChoicePopUpButton* m_volumeNameView = nullptr;
    ChoicePopUpButton* m_volumeStatusView = nullptr;
    ScopedConnection m_mountsObservation;
    std::vector<std::unique_ptr<MHKVONotificationHelper>> m_observations;
};
