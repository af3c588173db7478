#pragma once
// The bar of launch simulation mode: the user sets by hand every fact the
// startup conditions are judged against (modifier keys, power source, day
// and time, volumes, networks), and after each change the bar posts a
// snapshot of exactly these values for the rows to be judged against.
// Nothing of it reaches the engine or the database.
#include "model/AttachedVolumeData.h"
#include "model/NetworkData.h"
#include "texts/Localizator.h"
#include "ui/base/ViewControllerBase.h"

#include <QDateTime>
#include <memory>

class ExecutionValidationParameters;
class PopoverFrame;
class QToolButton;
class SimulateNetworkDataBottomBarViewController;
class SimulateScheduleDataBottomBarViewController;
class SimulateVolumeDataBottomBarViewController;

class MainSimulateBottomBarViewController : public ViewControllerBase {
    Q_OBJECT
public:
    explicit MainSimulateBottomBarViewController(QWidget* parent = nullptr);
    ~MainSimulateBottomBarViewController() override;

    // A bar that slides in leaves the keyboard focus where it is.
    void makeFirstResponder() override {}

    bool simulatedControlState() const { return m_controlState; }
    void setSimulatedControlState(bool on);
    bool simulatedOptionState() const { return m_optionState; }
    void setSimulatedOptionState(bool on);
    bool simulatedShiftState() const { return m_shiftState; }
    void setSimulatedShiftState(bool on);
    bool simulatedCommandState() const { return m_commandState; }
    void setSimulatedCommandState(bool on);
    // A PowerSourceType value; posts even when unchanged.
    uint32_t simulatedPowerSource() const { return m_powerSource; }
    void setSimulatedPowerSource(uint32_t source);

    QDateTime simulatedDateTime() const { return m_dateTime; }
    QString simulatedDateString() const { return m_dateString; }
    QList<AttachedVolumeData> simulatedVolumes() const { return m_volumes; }
    QString simulatedVolumesLabel() const { return m_volumesLabel; }
    QList<NetworkData> simulatedNetworks() const { return m_networks; }
    QString simulatedNetworksLabel() const { return m_networksLabel; }
    bool isAtLeastOneNetworkReachable() const { return m_atLeastOneNetworkReachable; }

    // Made and loaded on first use, with this bar's common objects.
    SimulateScheduleDataBottomBarViewController* scheduleDataViewController();
    SimulateVolumeDataBottomBarViewController* volumeDataViewController();
    SimulateNetworkDataBottomBarViewController* networkDataViewController();

    void showTimeSimulationControls(QWidget* sender);
    void showVolumeSimulationControls(QWidget* sender);
    void showNetworkSimulationControls(QWidget* sender);

    // The keys held now become the simulated ones, with one snapshot posted.
    void updateContentAccordingToModifierKeysState();

    // The snapshot of the values as they are now.
    std::shared_ptr<ExecutionValidationParameters> simulationParameters() const;
    // Posts MHInternalNotificationSimulationParameterDidChange with it.
    void notifyObservers();

protected:
    void awakeFromNib() override;

private:
    void scheduleDateDidChange(const QDateTime& date);
    void volumesDidChange(const QList<AttachedVolumeData>& volumes);
    void networksDidChange(const QList<NetworkData>& networks);
    void updateKeyStatusFromEvent();
    void setKeyState(bool& state, bool on, const char* name);
    void updateControls();
    QToolButton* addButton(const QString& objectName, const QString& name);
    PopoverFrame* popoverFor(ViewControllerBase* content, const QString& title);
    void showPopover(ViewControllerBase* content, QWidget* sender, Localizator::ItemsPageText title);

    bool m_controlState = false;
    bool m_optionState = false;
    bool m_shiftState = false;
    bool m_commandState = false;
    uint32_t m_powerSource = 0;
    QDateTime m_dateTime;
    QString m_dateString;
    QList<AttachedVolumeData> m_volumes;
    QString m_volumesLabel;
    QList<NetworkData> m_networks;
    QString m_networksLabel;
    bool m_atLeastOneNetworkReachable = false;

    SimulateScheduleDataBottomBarViewController* m_scheduleDataViewController = nullptr;
    SimulateVolumeDataBottomBarViewController* m_volumeDataViewController = nullptr;
    SimulateNetworkDataBottomBarViewController* m_networkDataViewController = nullptr;

    QToolButton* m_controlButton = nullptr;
    QToolButton* m_optionButton = nullptr;
    QToolButton* m_shiftButton = nullptr;
    QToolButton* m_commandButton = nullptr;
    QToolButton* m_powerSourceButton = nullptr;
    QToolButton* m_dateButton = nullptr;
    QToolButton* m_volumesButton = nullptr;
    QToolButton* m_networksButton = nullptr;
};
