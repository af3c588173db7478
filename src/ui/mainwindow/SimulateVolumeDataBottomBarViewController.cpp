#include "ui/mainwindow/SimulateVolumeDataBottomBarViewController.h"

#include "model/DBStartupCondition.h"
#include "model/DBVolumeConditionData.h"
#include "platform/MountedVolumesProvider.h"
#include "shell/ApplicationHelpers.h"
#include "shell/ModelEditing.h"
#include "texts/Localizator.h"
#include "ui/mainwindow/SimulatedVolumesModel.h"
#include "ui/mainwindow/SimulationInputs.h"

#include <QListView>
#include <QUrl>
#include <QVBoxLayout>

SimulateVolumeDataBottomBarViewController::SimulateVolumeDataBottomBarViewController(QWidget* parent)
    : ViewControllerBase(false, parent)
    , m_volumesModel(new SimulatedVolumesModel(this))
{
    setObjectName(QStringLiteral("simulateVolumeData"));
    connect(m_volumesModel, &SimulatedVolumesModel::attachedStatusChanged, this,
            &SimulateVolumeDataBottomBarViewController::notifyDelegate);
}

void SimulateVolumeDataBottomBarViewController::awakeFromNib()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_volumesView = new QListView(this);
    m_volumesView->setObjectName(QStringLiteral("volumesView"));
    m_volumesView->setAccessibleName(localizator().itemsPageText(Localizator::ItemsPageText::SimulatedVolumes));
    m_volumesView->setSelectionMode(QAbstractItemView::NoSelection);
    m_volumesView->setModel(m_volumesModel);
    layout->addWidget(m_volumesView);
    if (helpers())
        connect(&helpers()->mountedVolumesProvider(), &MountedVolumesProvider::volumesChanged, this, [this] {
            updateVolumes();
            notifyDelegate();
        });
    updateVolumes();
}

QList<AttachedVolumeData> SimulateVolumeDataBottomBarViewController::volumes() const
{
    return m_volumesModel->volumes();
}

void SimulateVolumeDataBottomBarViewController::updateVolumes()
{
    QStringList conditionPaths;
    if (editing()) {
        for (const DBStartupCondition* condition : editing()->sortedStartupConditions()) {
            if (condition->conditionTypeValue() == StartupConditionTypeMountedVolume && condition->conditionVolumeData())
                conditionPaths.append(condition->conditionVolumeData()->volumePath());
        }
    }
    const QList<AttachedVolumeData> mounted = helpers() ? helpers()->attachedVolumesData() : QList<AttachedVolumeData>();
    m_volumesModel->setVolumes(SimulationInputs::volumeRows(mounted, conditionPaths, m_volumesModel->volumes(), [this](const QString& path) {
        return localizator().nameForURL(QUrl::fromLocalFile(path));
    }));
}

void SimulateVolumeDataBottomBarViewController::notifyDelegate()
{
    Q_EMIT volumesChanged(m_volumesModel->volumes());
}
