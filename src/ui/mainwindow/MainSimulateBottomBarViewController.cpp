#include "ui/mainwindow/MainSimulateBottomBarViewController.h"

#include "engine/ModelObjectHelping.h"
#include "foundation/Log.h"
#include "foundation/MHInternalNotifications.h"
#include "foundation/NotificationCenter.h"
#include "foundation/UserDefaults.h"
#include "model/ExecutionValidationParameters.h"
#include "platform/ModifierKeysProvider.h"
#include "shell/ApplicationHelpers.h"
#include "texts/Localizator.h"
#include "ui/base/PopoverFrame.h"
#include "ui/mainwindow/SimulateNetworkDataBottomBarViewController.h"
#include "ui/mainwindow/SimulateScheduleDataBottomBarViewController.h"
#include "ui/mainwindow/SimulateVolumeDataBottomBarViewController.h"
#include "ui/mainwindow/SimulationInputs.h"
#include "ui/views/ValueButton.h"

#include <QHBoxLayout>
#include <QLocale>
#include <QRegularExpression>
#include <QToolButton>

namespace {

// A short weekday with hour and minute, in the user's locale.
QString dateString(const QDateTime& date)
{
    const QLocale locale;
    QString timeFormat = locale.timeFormat(QLocale::ShortFormat);
    timeFormat.remove(QRegularExpression(QStringLiteral("[:.]ss?")));
    return QStringLiteral("%1 %2").arg(locale.dayName(date.date().dayOfWeek(), QLocale::ShortFormat),
                                       locale.toString(date.time(), timeFormat));
}

} // namespace

MainSimulateBottomBarViewController::MainSimulateBottomBarViewController(QWidget* parent)
    : ViewControllerBase(false, parent)
{
    setObjectName(QStringLiteral("simulateBottomBar"));
}

MainSimulateBottomBarViewController::~MainSimulateBottomBarViewController() = default;

QToolButton* MainSimulateBottomBarViewController::addButton(const QString& objectName, const QString& name)
{
    auto* button = new QToolButton(this);
    button->setObjectName(objectName);
    button->setAccessibleName(name);
    button->setToolTip(name);
    button->setAutoRaise(true);
    layout()->addWidget(button);
    return button;
}

void MainSimulateBottomBarViewController::awakeFromNib()
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 2, 6, 2);
    using Text = Localizator::ItemsPageText;
    const Localizator& texts = localizator();

    const auto addKey = [&](const QString& objectName, Text text, void (MainSimulateBottomBarViewController::*setter)(bool)) {
        QToolButton* button = addButton(objectName, texts.itemsPageText(text));
        button->setText(texts.itemsPageText(text));
        button->setCheckable(true);
        connect(button, &QToolButton::toggled, this, setter);
        return button;
    };
    m_controlButton = addKey(QStringLiteral("simulatedControl"), Text::ControlKey, &MainSimulateBottomBarViewController::setSimulatedControlState);
    m_optionButton = addKey(QStringLiteral("simulatedOption"), Text::OptionKey, &MainSimulateBottomBarViewController::setSimulatedOptionState);
    m_shiftButton = addKey(QStringLiteral("simulatedShift"), Text::ShiftKey, &MainSimulateBottomBarViewController::setSimulatedShiftState);
    m_commandButton = addKey(QStringLiteral("simulatedCommand"), Text::CommandKey, &MainSimulateBottomBarViewController::setSimulatedCommandState);

    m_powerSourceButton = addButton(QStringLiteral("simulatedPowerSource"), texts.itemsPageText(Text::PowerSourceOnBattery));
    m_powerSourceButton->setCheckable(true);
    m_powerSourceButton->setText(texts.itemsPageText(Text::PowerSourceOnBattery));
    m_powerSourceButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    const int imageSize = int(userDefaults().mainItemsViewSimulatePowerSourceImageSize());
    m_powerSourceButton->setIconSize(QSize(imageSize, imageSize));
    connect(m_powerSourceButton, &QToolButton::toggled, this,
            [this](bool onBattery) { setSimulatedPowerSource(onBattery ? PowerSourceTypeBattery : PowerSourceTypePowerSupply); });
    layout->addStretch();

    const auto addPopoverButton = [&](const QString& objectName, Text text, void (MainSimulateBottomBarViewController::*show)(QWidget*)) {
        auto* button = new ValueButton(this);
        button->setObjectName(objectName);
        button->setAccessibleName(texts.itemsPageText(text));
        button->setToolTip(texts.itemsPageText(text));
        layout->addWidget(button);
        connect(button, &QToolButton::clicked, this, [this, button, show] { (this->*show)(button); });
        return button;
    };
    m_dateButton = addPopoverButton(QStringLiteral("simulatedDate"), Text::SimulatedDay, &MainSimulateBottomBarViewController::showTimeSimulationControls);
    m_volumesButton = addPopoverButton(QStringLiteral("simulatedVolumes"), Text::SimulatedVolumes, &MainSimulateBottomBarViewController::showVolumeSimulationControls);
    m_networksButton = addPopoverButton(QStringLiteral("simulatedNetworks"), Text::SimulatedNetworks, &MainSimulateBottomBarViewController::showNetworkSimulationControls);

    // Every value is set before the bar is first shown.
    scheduleDataViewController()->notifyDelegate();
    volumeDataViewController()->notifyDelegate();
    networkDataViewController()->notifyDelegate();
    updateControls();
}

void MainSimulateBottomBarViewController::updateControls()
{
    if (!m_controlButton)
        return;
    const std::pair<QToolButton*, bool> keys[] = { { m_controlButton, m_controlState }, { m_optionButton, m_optionState },
                                                   { m_shiftButton, m_shiftState }, { m_commandButton, m_commandState },
                                                   { m_powerSourceButton, m_powerSource == PowerSourceTypeBattery } };
    for (const auto& [button, checked] : keys) {
        const QSignalBlocker blocker(button);
        button->setChecked(checked);
    }
    m_powerSourceButton->setIcon(QIcon::fromTheme(m_powerSource == PowerSourceTypeBattery ? QStringLiteral("battery-low")
                                                                                           : QStringLiteral("battery-full-charging")));
    m_dateButton->setText(m_dateString);
    m_volumesButton->setText(m_volumesLabel);
    m_networksButton->setText(m_networksLabel);
}

void MainSimulateBottomBarViewController::setKeyState(bool& state, bool on, const char* name)
{
    if (state == on)
        return;
    state = on;
    LOG_NORMAL("Changing simulated %1 state to %2...", name, on ? 1 : 0);
    if (!isUpdatingModelFromView()) {
        updateControls();
        notifyObservers();
    }
}

void MainSimulateBottomBarViewController::setSimulatedControlState(bool on) { setKeyState(m_controlState, on, "control"); }
void MainSimulateBottomBarViewController::setSimulatedOptionState(bool on) { setKeyState(m_optionState, on, "option"); }
void MainSimulateBottomBarViewController::setSimulatedShiftState(bool on) { setKeyState(m_shiftState, on, "shift"); }
void MainSimulateBottomBarViewController::setSimulatedCommandState(bool on) { setKeyState(m_commandState, on, "command"); }

void MainSimulateBottomBarViewController::setSimulatedPowerSource(uint32_t source)
{
    m_powerSource = source;
    LOG_NORMAL("Changing simulated power source to %1...", source);
    if (!isUpdatingModelFromView()) {
        updateControls();
        notifyObservers();
    }
}

void MainSimulateBottomBarViewController::updateContentAccordingToModifierKeysState()
{
    updateKeyStatusFromEvent();
    updateControls();
    notifyObservers();
}

void MainSimulateBottomBarViewController::updateKeyStatusFromEvent()
{
    const ModifierKeys keys = helpers() ? helpers()->modifierKeysProvider().currentModifierKeys().value_or(ModifierKeys()) : ModifierKeys();
    setIsUpdatingModelFromView(true);
    setSimulatedControlState(keys.control);
    setSimulatedOptionState(keys.option);
    setSimulatedShiftState(keys.shift);
    setSimulatedCommandState(keys.command);
    setIsUpdatingModelFromView(false);
}

void MainSimulateBottomBarViewController::scheduleDateDidChange(const QDateTime& date)
{
    m_dateTime = date;
    m_dateString = dateString(date);
    updateControls();
    notifyObservers();
}

void MainSimulateBottomBarViewController::volumesDidChange(const QList<AttachedVolumeData>& volumes)
{
    m_volumes = volumes;
    m_volumesLabel = SimulationInputs::volumesLabel(volumes);
    updateControls();
    notifyObservers();
}

void MainSimulateBottomBarViewController::networksDidChange(const QList<NetworkData>& networks)
{
    m_networks = networks;
    m_networksLabel = SimulationInputs::networksLabel(networks);
    m_atLeastOneNetworkReachable = SimulationInputs::isAtLeastOneNetworkReachable(networks);
    updateControls();
    notifyObservers();
}

std::shared_ptr<ExecutionValidationParameters> MainSimulateBottomBarViewController::simulationParameters() const
{
    std::shared_ptr<ExecutionValidationParameters> parameters = ExecutionValidationParameters::create();
    if (modelObjectHelpers())
        parameters->setAvailableItems(modelObjectHelpers()->sortedLoginItemsForApplicationGroup());
    parameters->setControlKeyPressed(m_controlState);
    parameters->setOptionKeyPressed(m_optionState);
    parameters->setShiftKeyPressed(m_shiftState);
    parameters->setCommandKeyPressed(m_commandState);
    parameters->setPowerSource(m_powerSource);
    parameters->setTime(m_dateTime);
    parameters->setVolumes(m_volumes);
    parameters->setNetworks(m_networks);
    parameters->setNetworkReachable(m_atLeastOneNetworkReachable);
    return parameters;
}

void MainSimulateBottomBarViewController::notifyObservers()
{
    LOG_DEBUG("Notifying observers...");
    notificationCenter().post(MHInternalNotifications::MHInternalNotificationSimulationParameterDidChange, this,
                              { { MHInternalNotifications::parameters, QVariant::fromValue(simulationParameters()) } });
}

SimulateScheduleDataBottomBarViewController* MainSimulateBottomBarViewController::scheduleDataViewController()
{
    if (!m_scheduleDataViewController) {
        LOG_DEBUG("Initializing scheduleDataViewController due to first access...");
        m_scheduleDataViewController = new SimulateScheduleDataBottomBarViewController(this);
        m_scheduleDataViewController->hide();
        connect(m_scheduleDataViewController, &SimulateScheduleDataBottomBarViewController::dateChanged, this,
                &MainSimulateBottomBarViewController::scheduleDateDidChange);
        copyCommonObjectsToViewController(*m_scheduleDataViewController);
        m_scheduleDataViewController->loadView();
    }
    return m_scheduleDataViewController;
}

SimulateVolumeDataBottomBarViewController* MainSimulateBottomBarViewController::volumeDataViewController()
{
    if (!m_volumeDataViewController) {
        LOG_DEBUG("Initializing volumeDataViewController due to first access...");
        m_volumeDataViewController = new SimulateVolumeDataBottomBarViewController(this);
        m_volumeDataViewController->hide();
        connect(m_volumeDataViewController, &SimulateVolumeDataBottomBarViewController::volumesChanged, this,
                &MainSimulateBottomBarViewController::volumesDidChange);
        copyCommonObjectsToViewController(*m_volumeDataViewController);
        m_volumeDataViewController->loadView();
    }
    return m_volumeDataViewController;
}

SimulateNetworkDataBottomBarViewController* MainSimulateBottomBarViewController::networkDataViewController()
{
    if (!m_networkDataViewController) {
        LOG_DEBUG("Initializing networkDataViewController due to first access...");
        m_networkDataViewController = new SimulateNetworkDataBottomBarViewController(this);
        m_networkDataViewController->hide();
        connect(m_networkDataViewController, &SimulateNetworkDataBottomBarViewController::networksChanged, this,
                &MainSimulateBottomBarViewController::networksDidChange);
        copyCommonObjectsToViewController(*m_networkDataViewController);
        m_networkDataViewController->loadView();
    }
    return m_networkDataViewController;
}

PopoverFrame* MainSimulateBottomBarViewController::popoverFor(ViewControllerBase* content, const QString& title)
{
    if (auto* popover = qobject_cast<PopoverFrame*>(content->window()))
        return popover;
    auto* popover = new PopoverFrame(this);
    popover->setObjectName(content->objectName() + QStringLiteral("Popover"));
    // Read as a window titled by what its controls simulate.
    popover->setWindowTitle(title);
    popover->setContentWidget(content);
    return popover;
}

void MainSimulateBottomBarViewController::showPopover(ViewControllerBase* content, QWidget* sender, Localizator::ItemsPageText title)
{
    popoverFor(content, localizator().itemsPageText(title))->showRelativeTo(sender ? sender : this, PopoverFrame::Edge::Above);
}

void MainSimulateBottomBarViewController::showTimeSimulationControls(QWidget* sender)
{
    showPopover(scheduleDataViewController(), sender, Localizator::ItemsPageText::SimulatedDay);
}

void MainSimulateBottomBarViewController::showVolumeSimulationControls(QWidget* sender)
{
    showPopover(volumeDataViewController(), sender, Localizator::ItemsPageText::SimulatedVolumes);
}

void MainSimulateBottomBarViewController::showNetworkSimulationControls(QWidget* sender)
{
    showPopover(networkDataViewController(), sender, Localizator::ItemsPageText::SimulatedNetworks);
}
