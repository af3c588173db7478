#include "ui/mainwindow/SimulateNetworkDataBottomBarViewController.h"

#include "model/DBNetworkConditionData.h"
#include "model/DBStartupCondition.h"
#include "model/ExecutionValidationParameters.h"
#include "shell/ModelEditing.h"
#include "texts/Localizator.h"
#include "ui/mainwindow/SimulatedNetworksModel.h"
#include "ui/mainwindow/SimulationInputs.h"

#include <QHeaderView>
#include <QTableView>
#include <QVBoxLayout>

SimulateNetworkDataBottomBarViewController::SimulateNetworkDataBottomBarViewController(QWidget* parent)
    : ViewControllerBase(false, parent)
    , m_networksModel(new SimulatedNetworksModel(this))
{
    setObjectName(QStringLiteral("simulateNetworkData"));
    connect(m_networksModel, &SimulatedNetworksModel::statusChanged, this, &SimulateNetworkDataBottomBarViewController::notifyDelegate);
}

void SimulateNetworkDataBottomBarViewController::awakeFromNib()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_networksView = new QTableView(this);
    m_networksView->setObjectName(QStringLiteral("networksView"));
    m_networksView->setAccessibleName(localizator().itemsPageText(Localizator::ItemsPageText::SimulatedNetworks));
    m_networksView->setSelectionMode(QAbstractItemView::NoSelection);
    m_networksView->verticalHeader()->hide();
    m_networksView->setModel(m_networksModel);
    m_networksView->horizontalHeader()->setSectionResizeMode(SimulatedNetworksModel::NameColumn, QHeaderView::Stretch);
    layout->addWidget(m_networksView);
    updateNetworks();
}

QList<NetworkData> SimulateNetworkDataBottomBarViewController::networks() const
{
    return m_networksModel->networks();
}

void SimulateNetworkDataBottomBarViewController::updateNetworks()
{
    QStringList conditionNames;
    if (editing()) {
        for (const DBStartupCondition* condition : editing()->sortedStartupConditions()) {
            if (condition->conditionTypeValue() == StartupConditionTypeNetwork && condition->conditionNetworkData())
                conditionNames.append(condition->conditionNetworkData()->networkName());
        }
    }
    const std::shared_ptr<MachineStateSource> source = ExecutionValidationParameters::defaultMachineStateSource();
    m_networksModel->setNetworks(SimulationInputs::networkRows(source ? source->cachedNetworks() : QList<NetworkData>(), conditionNames));
    notifyDelegate();
}

void SimulateNetworkDataBottomBarViewController::notifyDelegate()
{
    Q_EMIT networksChanged(m_networksModel->networks());
}
