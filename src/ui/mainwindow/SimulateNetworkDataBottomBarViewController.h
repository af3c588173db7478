#pragma once
// Which networks the simulated machine has in range or has joined, in a
// popover of the simulation bar: the known networks and those the
// conditions name. The list is made once, when the popover loads (the
// networks of the latest scan and the saved ones); then it keeps the user's
// choices.
#include "model/NetworkData.h"
#include "ui/base/ViewControllerBase.h"

class QTableView;
class SimulatedNetworksModel;

class SimulateNetworkDataBottomBarViewController : public ViewControllerBase {
    Q_OBJECT
public:
    explicit SimulateNetworkDataBottomBarViewController(QWidget* parent = nullptr);

    QList<NetworkData> networks() const;
    SimulatedNetworksModel* networksModel() const { return m_networksModel; }

    void updateNetworks();
    void notifyDelegate();

Q_SIGNALS:
    void networksChanged(const QList<NetworkData>& networks);

protected:
    void awakeFromNib() override;

private:
    SimulatedNetworksModel* m_networksModel = nullptr;
    QTableView* m_networksView = nullptr;
};
