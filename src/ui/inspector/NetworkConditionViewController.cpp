#include "ui/inspector/NetworkConditionViewController.h"

#include "foundation/Log.h"
#include "foundation/MHInternalNotifications.h"
#include "foundation/UserDefaults.h"
#include "model/DBNetworkConditionData.h"
#include "model/DBStartupCondition.h"
#include "model/ObjectContext.h"
#include "shell/ApplicationHelpers.h"
#include "shell/ModelEditing.h"
#include "texts/Localizator.h"
#include "ui/inspector/ConditionNameEditorViewController.h"
#include "ui/views/ChoicePopUpButton.h"
#include "ui/views/SeparatorBindingMenu.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

using KnownNetwork = NetworkConditionViewController::KnownNetwork;

bool listsNetworkNamed(const QList<KnownNetwork>& networks, const QString& name)
{
    return std::any_of(networks.cbegin(), networks.cend(),
                       [&name](const KnownNetwork& network) { return network.kind == KnownNetwork::Network && network.name == name; });
}

} // namespace

NetworkConditionViewController::NetworkConditionViewController()
    : StartupConditionViewControllerBase(true)
{
    setObjectName(QStringLiteral("networkConditionView"));
}

NetworkConditionViewController::~NetworkConditionViewController() = default;

void NetworkConditionViewController::awakeFromNib()
{
    StartupConditionViewControllerBase::awakeFromNib();
    auto* controls = new QWidget(this);
    // The network's name has a line of its own, so that a name such as
    // "Internet Connection" is read whole in a narrow inspector.
    auto* layout = new QGridLayout(controls);
    layout->setContentsMargins(28, 0, 6, 4);
    m_explanationView = new QLabel(tr("Allowed when"), controls);
    m_explanationView->setObjectName(QStringLiteral("explanationView"));
    m_explanationView->setTextFormat(Qt::PlainText);
    m_networkNameView = new ChoicePopUpButton(QStringLiteral("networkNameView"), tr("Network"), controls);
    m_networkNameView->setPlaceholderText(tr("Choose a network"));
    m_explanationView->setBuddy(m_networkNameView);
    m_networkModeView = new ChoicePopUpButton(QStringLiteral("networkModeView"), tr("Network mode"), controls);
    m_networkModeView->addChoice(tr("is"), NetworkModeIs);
    m_networkModeView->addChoice(tr("is not"), NetworkModeNot);
    m_networkStatusView = new ChoicePopUpButton(QStringLiteral("networkStatusView"), tr("Network state"), controls);
    m_networkStatusView->addChoice(tr("available"), NetworkStatusAvailable);
    m_networkStatusView->addChoice(tr("connected"), NetworkStatusConnected);
    layout->addWidget(m_explanationView, 0, 0);
    layout->addWidget(m_networkNameView, 0, 1, 1, 3);
    layout->addWidget(m_networkModeView, 1, 1);
    layout->addWidget(m_networkStatusView, 1, 2);
    layout->setColumnStretch(3, 1);

    m_warningParentView = new QWidget(this);
    m_warningParentView->setObjectName(QStringLiteral("warningParentView"));
    auto* warningLayout = new QVBoxLayout(m_warningParentView);
    warningLayout->setContentsMargins(28, 0, 6, 4);
    warningLayout->setSpacing(0);
    m_warningView = new QLabel(localizator().warningStringForNetworkConditions(), m_warningParentView);
    m_warningView->setObjectName(QStringLiteral("warningView"));
    m_warningView->setTextFormat(Qt::PlainText);
    m_warningView->setWordWrap(true);
    m_warningLinkView = new QPushButton(tr("General Preferences…"), m_warningParentView);
    m_warningLinkView->setObjectName(QStringLiteral("warningLinkView"));
    m_warningLinkView->setAccessibleName(tr("Open the General preferences"));
    m_warningLinkView->setFlat(true);
    warningLayout->addWidget(m_warningView);
    warningLayout->addWidget(m_warningLinkView, 0, Qt::AlignLeft);
    m_warningParentView->hide();

    contentLayout()->addWidget(controls);
    contentLayout()->addWidget(m_warningParentView);
    connect(m_networkNameView, &ChoicePopUpButton::valueChosen, this, &NetworkConditionViewController::changeNetworkName);
    connect(m_networkModeView, &ChoicePopUpButton::valueChosen, this, &NetworkConditionViewController::changeNetworkMode);
    connect(m_networkStatusView, &ChoicePopUpButton::valueChosen, this, &NetworkConditionViewController::changeNetworkStatus);
    connect(m_warningLinkView, &QPushButton::clicked, this, &NetworkConditionViewController::showWarningRelatedData);
    connect(&nameEditorViewController(), &ConditionNameEditorViewController::isConditionUsedByItsParentLoginItemChanged, this,
            &NetworkConditionViewController::updateWarning);

    // Posted on the scan's thread; the list is rebuilt on the main thread,
    // and never once this editor is gone (the token waits for a running call).
    m_networksObserver = helpers()->notificationCenter().addObserver(
        MHInternalNotifications::MHInternalNotificationNetworkDataFetchDidComplete, nullptr, [this](const Notification&) {
            QMetaObject::invokeMethod(this, &NetworkConditionViewController::updateKnownNetworks, Qt::QueuedConnection);
        });
    updateKnownNetworks();
    updateWarning(nameEditorViewController().isConditionUsedByItsParentLoginItem());
    updateRequiredRowHeight();
}

void NetworkConditionViewController::updateRequiredRowHeight()
{
    // Stored, so the table's row follows the warning and nothing else.
    setRequiredRowHeight(sizeHint().height());
}

DBNetworkConditionData* NetworkConditionViewController::representedNetworkData() const
{
    const DBStartupCondition* shown = condition();
    return shown ? shown->conditionNetworkData() : nullptr;
}

void NetworkConditionViewController::representedObjectChangedFrom(const QVariant&, const QVariant&)
{
    m_observations.clear();
    if (DBStartupCondition* shown = condition()) {
        m_observations.push_back(shown->addObserver(QStringLiteral("conditionNetworkData.networkName"),
                                                    [this](ManagedObject*, const KeyValueChange&) { updateKnownNetworks(); }));
        for (const QString& key : { QStringLiteral("conditionNetworkData.networkMode"), QStringLiteral("conditionNetworkData.networkStatus") })
            m_observations.push_back(shown->addObserver(key, [this](ManagedObject*, const KeyValueChange&) { updateShownValues(); }));
    }
    updateKnownNetworks();
}

void NetworkConditionViewController::updateKnownNetworks()
{
    if (!m_networkNameView)
        return;
    const KnownNetwork separator { KnownNetwork::Separator, SeparatorBindingMenu::MHSeparatorBindingMenuSeparatorName };
    QList<KnownNetwork> networks { { KnownNetwork::InternetConnection, localizator().networkStartupConditionNameForInternetConnection() },
                                   separator };
    // One line between the networks in range and the others, never two in a row.
    bool separated = false;
    const auto separate = [&networks, &separated, &separator] {
        if (!separated && networks.last().kind != KnownNetwork::Separator)
            networks.append(separator);
        separated = true;
    };
    for (const NetworkData& network : helpers()->cachedNetworks()) {
        // Those out of range (saved, or gone since the scan) come after the line.
        if (!network.available())
            separate();
        networks.append({ KnownNetwork::Network, network.name() });
    }
    // Networks conditions name stay choosable while out of range.
    for (const DBStartupCondition* other : managedObjectContext()->sortedStartupConditions()) {
        const DBNetworkConditionData* data = other->conditionNetworkData();
        if (other->conditionTypeValue() != StartupConditionTypeNetwork || !data || data->networkName().isEmpty()
            || listsNetworkNamed(networks, data->networkName()))
            continue;
        separate();
        networks.append({ KnownNetwork::Network, data->networkName() });
    }
    // A scan runs every few seconds and mostly finds what the list shows:
    // the list then stays as it is, and a screen reader reading its choices
    // keeps its place.
    if (networks == m_knownNetworks) {
        updateShownValues();
        return;
    }
    m_knownNetworks = networks;
    m_networkNameView->removeAllChoices();
    for (qsizetype index = 0; index < m_knownNetworks.size(); ++index)
        SeparatorBindingMenu::insertItemWithTitle(*m_networkNameView, m_knownNetworks[index].name, static_cast<int>(index),
                                                  m_networkNameView->count());
    updateShownValues();
}

void NetworkConditionViewController::updateShownValues()
{
    if (!m_networkNameView)
        return;
    const DBNetworkConditionData* data = representedNetworkData();
    QVariant shown;
    if (data) {
        const QVariant stored = data->value(QStringLiteral("networkName"));
        for (qsizetype index = 0; index < m_knownNetworks.size() && !shown.isValid(); ++index) {
            const KnownNetwork& network = m_knownNetworks[index];
            if ((network.kind == KnownNetwork::InternetConnection && !stored.isValid())
                || (network.kind == KnownNetwork::Network && stored.isValid() && network.name == stored.toString()))
                shown = static_cast<int>(index);
        }
    }
    m_networkNameView->showValue(shown);
    // The rules take any mode but "is not" for "is", and any status but "connected" for "available".
    m_networkModeView->showValue(data ? QVariant(data->networkModeValue() == NetworkModeNot ? NetworkModeNot : NetworkModeIs) : QVariant());
    m_networkStatusView->showValue(
        data ? QVariant(data->networkStatusValue() == NetworkStatusConnected ? NetworkStatusConnected : NetworkStatusAvailable) : QVariant());
}

void NetworkConditionViewController::updateWarning(bool conditionUsed)
{
    const UserDefaults& settings = helpers()->userDefaults();
    // A used condition may be judged before the first scan has found anything.
    const bool active = conditionUsed
        && (!settings.isDelayBeforeItemsExecutionEnabled() || settings.delayBeforeItemsExecution() < settings.networkScanInterval());
    if (active == m_isWarningActive)
        return;
    m_isWarningActive = active;
    m_warningParentView->setVisible(active);
    // Later: the inspector does not hear its editors while it sets their check boxes.
    QMetaObject::invokeMethod(this, &NetworkConditionViewController::updateRequiredRowHeight, Qt::QueuedConnection);
}

void NetworkConditionViewController::showWarningRelatedData()
{
    LOG_NORMAL("Showing the General preferences for the network warning of %1...", condition());
    Q_EMIT showGeneralPreferencesRequested();
}

void NetworkConditionViewController::changeNetworkName(const QVariant& value)
{
    DBStartupCondition* shown = condition();
    const qsizetype index = value.toInt();
    if (!shown || index < 0 || index >= m_knownNetworks.size() || m_knownNetworks[index].kind == KnownNetwork::Separator)
        return;
    const KnownNetwork& network = m_knownNetworks[index];
    const QString name = network.kind == KnownNetwork::InternetConnection ? QString() : network.name;
    LOG_NORMAL("Changing the network of %1 to %2...", shown, network.name);
    if (editing()->setNetworkName(shown, name))
        helpers()->saveDataToDiskUsingChangeBackup(true);
}

void NetworkConditionViewController::changeNetworkMode(const QVariant& value)
{
    DBStartupCondition* shown = condition();
    if (!shown)
        return;
    LOG_NORMAL("Changing the network mode of %1 to %2...", shown, value.toInt());
    if (editing()->setNetworkMode(shown, value.toInt()))
        helpers()->saveDataToDiskUsingChangeBackup(true);
}

void NetworkConditionViewController::changeNetworkStatus(const QVariant& value)
{
    DBStartupCondition* shown = condition();
    if (!shown)
        return;
    LOG_NORMAL("Changing the network status of %1 to %2...", shown, value.toInt());
    if (editing()->setNetworkStatus(shown, value.toInt()))
        helpers()->saveDataToDiskUsingChangeBackup(true);
}
