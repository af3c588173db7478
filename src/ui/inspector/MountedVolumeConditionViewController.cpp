#include "ui/inspector/MountedVolumeConditionViewController.h"

#include "foundation/Log.h"
#include "model/DBStartupCondition.h"
#include "model/DBVolumeConditionData.h"
#include "shell/ApplicationHelpers.h"
#include "shell/ModelEditing.h"
#include "texts/Localizator.h"
#include "ui/views/ChoicePopUpButton.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

MountedVolumeConditionViewController::MountedVolumeConditionViewController()
    : StartupConditionViewControllerBase(true)
{
    setObjectName(QStringLiteral("mountedVolumeConditionView"));
}

MountedVolumeConditionViewController::~MountedVolumeConditionViewController() = default;

void MountedVolumeConditionViewController::awakeFromNib()
{
    StartupConditionViewControllerBase::awakeFromNib();
    auto* controls = new QWidget(this);
    auto* layout = new QHBoxLayout(controls);
    layout->setContentsMargins(28, 0, 6, 4);
    m_explanationView = new QLabel(tr("Allowed when"), controls);
    m_explanationView->setObjectName(QStringLiteral("explanationView"));
    m_explanationView->setTextFormat(Qt::PlainText);
    m_volumeNameView = new ChoicePopUpButton(QStringLiteral("volumeNameView"), tr("Volume"), controls);
    m_volumeNameView->setPlaceholderText(tr("Choose a volume"));
    m_explanationView->setBuddy(m_volumeNameView);
    m_volumeStatusView = new ChoicePopUpButton(QStringLiteral("volumeStatusView"), tr("Volume state"), controls);
    m_volumeStatusView->addChoice(tr("is mounted"), VolumeStatusMounted);
    m_volumeStatusView->addChoice(tr("is not mounted"), VolumeStatusNotMounted);
    m_volumeStatusView->setPlaceholderText(tr("Unknown"));
    layout->addWidget(m_explanationView);
    layout->addWidget(m_volumeNameView, 1);
    layout->addWidget(m_volumeStatusView);
    contentLayout()->addWidget(controls);
    connect(m_volumeNameView, &ChoicePopUpButton::valueChosen, this, &MountedVolumeConditionViewController::changeVolumeName);
    connect(m_volumeStatusView, &ChoicePopUpButton::valueChosen, this, &MountedVolumeConditionViewController::changeVolumeStatus);
    m_mountsObservation = helpers()->observeVolumeMounts(this, [this] {
        LOG_VERBOSE("Volumes were mounted or unmounted, refreshing the volumes of %1...", this);
        updateAttachedVolumes();
    });
    updateAttachedVolumes();
}

DBVolumeConditionData* MountedVolumeConditionViewController::representedVolumeData() const
{
    const DBStartupCondition* shown = condition();
    return shown ? shown->conditionVolumeData() : nullptr;
}

void MountedVolumeConditionViewController::representedObjectChangedFrom(const QVariant&, const QVariant&)
{
    m_observations.clear();
    if (DBStartupCondition* shown = condition()) {
        m_observations.push_back(shown->addObserver(QStringLiteral("conditionVolumeData.volumePath"),
                                                    [this](ManagedObject*, const KeyValueChange&) { updateAttachedVolumes(); }));
        m_observations.push_back(shown->addObserver(QStringLiteral("conditionVolumeData.volumeStatus"),
                                                    [this](ManagedObject*, const KeyValueChange&) { updateShownValues(); }));
    }
    updateAttachedVolumes();
}

QString MountedVolumeConditionViewController::localizedNameForURL(const QUrl& url) const
{
    return localizator().nameForURL(url);
}

void MountedVolumeConditionViewController::updateAttachedVolumes()
{
    if (!m_volumeNameView)
        return;
    QList<AttachedVolumeData> volumes = helpers()->attachedVolumesData();
    // The condition keeps showing its volume while it is not mounted.
    const DBVolumeConditionData* data = representedVolumeData();
    const QString path = data ? data->volumePath() : QString();
    const bool listed = std::any_of(volumes.cbegin(), volumes.cend(), [&path](const AttachedVolumeData& volume) { return volume.path() == path; });
    if (!path.isEmpty() && !listed)
        volumes.append(AttachedVolumeData(path, localizedNameForURL(QUrl::fromLocalFile(path)), false));
    m_mountedVolumes = volumes;
    m_volumeNameView->removeAllChoices();
    for (const AttachedVolumeData& volume : std::as_const(m_mountedVolumes))
        m_volumeNameView->addChoice(volume.name(), volume.path());
    updateShownValues();
}

void MountedVolumeConditionViewController::updateShownValues()
{
    if (!m_volumeNameView)
        return;
    const DBVolumeConditionData* data = representedVolumeData();
    m_volumeNameView->showValue(data && !data->volumePath().isEmpty() ? QVariant(data->volumePath()) : QVariant());
    // The rules take any status but "not mounted" for "mounted".
    m_volumeStatusView->showValue(data ? QVariant(data->volumeStatusValue() == VolumeStatusNotMounted ? VolumeStatusNotMounted
                                                                                                     : VolumeStatusMounted)
                                       : QVariant());
}

void MountedVolumeConditionViewController::changeVolumeName(const QVariant& value)
{
    DBStartupCondition* shown = condition();
    if (!shown)
        return;
    LOG_NORMAL("Changing the volume of %1 to %2...", shown, value.toString());
    if (editing()->setVolumePath(shown, value.toString()))
        helpers()->saveDataToDiskUsingChangeBackup(true);
}

void MountedVolumeConditionViewController::changeVolumeStatus(const QVariant& value)
{
    DBStartupCondition* shown = condition();
    if (!shown)
        return;
    LOG_NORMAL("Changing the volume status of %1 to %2...", shown, value.toInt());
    if (editing()->setVolumeStatus(shown, value.toInt()))
        helpers()->saveDataToDiskUsingChangeBackup(true);
}
