#pragma once
// The editor of a network condition: a Wi-Fi network, or the internet
// connection, that must or must not be available or connected at login.
// The list offers the internet connection, the networks of the last
// background scan (those in range first), the saved networks, and the
// networks other conditions name; it follows each finished scan.
//
// The internet connection is an entry of its own kind, not a name: a Wi-Fi
// network called like it is a network. When the shown item uses the
// condition and the countdown before running items is off or shorter than
// the scan interval, a warning with a way to the General preferences shows.
#include "foundation/NotificationCenter.h"
#include "model/MHKVONotificationHelper.h"
#include "ui/inspector/StartupConditionViewControllerBase.h"

#include <memory>
#include <vector>

class ChoicePopUpButton;
class DBNetworkConditionData;
class QLabel;
class QPushButton;

class NetworkConditionViewController : public StartupConditionViewControllerBase {
    Q_OBJECT
public:
    struct KnownNetwork {
        enum Kind { InternetConnection, Separator, Network };
        Kind kind;
        // Shown (a separator's is the separator title of SeparatorBindingMenu);
        // for a network also what the condition stores.
        QString name;

        bool operator==(const KnownNetwork&) const = default;
    };

    NetworkConditionViewController();
    ~NetworkConditionViewController() override;

    const QList<KnownNetwork>& knownNetworks() const { return m_knownNetworks; }
    DBNetworkConditionData* representedNetworkData() const;
    void updateKnownNetworks();
    bool isWarningActive() const { return m_isWarningActive; }

    ChoicePopUpButton* networkNameView() const { return m_networkNameView; }
    ChoicePopUpButton* networkModeView() const { return m_networkModeView; }
    ChoicePopUpButton* networkStatusView() const { return m_networkStatusView; }
    QLabel* warningView() const { return m_warningView; }
    QPushButton* warningLinkView() const { return m_warningLinkView; }

public Q_SLOTS:
    void showWarningRelatedData();

Q_SIGNALS:
    // The warning's link: the window that holds the inspector opens the
    // General preferences, where the countdown before running items is set.
    void showGeneralPreferencesRequested();

protected:
    void awakeFromNib() override;
    void representedObjectChangedFrom(const QVariant& previous, const QVariant& current) override;

private:
    void changeNetworkName(const QVariant& value);
    void changeNetworkMode(const QVariant& value);
    void changeNetworkStatus(const QVariant& value);
    void updateShownValues();
    void updateWarning(bool conditionUsed);
    void updateRequiredRowHeight();

    QList<KnownNetwork> m_knownNetworks;
    bool m_isWarningActive = false;
    QLabel* m_explanationView = nullptr;
    ChoicePopUpButton* m_networkModeView = nullptr;
    ChoicePopUpButton* m_networkNameView = nullptr;
    ChoicePopUpButton* m_networkStatusView = nullptr;
    QWidget* m_warningParentView = nullptr;
    QLabel* m_warningView = nullptr;
    QPushButton* m_warningLinkView = nullptr;
    NotificationCenter::Token m_networksObserver;
    std::vector<std::unique_ptr<MHKVONotificationHelper>> m_observations;
};
