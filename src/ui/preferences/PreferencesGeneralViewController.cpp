#include "ui/preferences/PreferencesGeneralViewController.h"

#include "foundation/Log.h"
#include "foundation/UserDefaults.h"
#include "shell/ApplicationHelpers.h"
#include "texts/Localizator.h"
#include "ui/base/AccessibleNames.h"
#include "ui/icons/IconsManager.h"
#include "ui/preferences/LanternwickEnabledSwitch.h"
#include "ui/views/ExplicitRangeSlider.h"
#include "ui/views/HelpButton.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

using Text = Localizator::WindowText;

const QList<double> PreferencesGeneralViewController::delayBeforeExecutionStops { 1, 2, 3, 5, 10, 20, 30, 60 };
const QList<double> PreferencesGeneralViewController::delayBetweenItemsStops { 0.1, 0.2, 0.3, 0.5, 1, 2, 3, 5 };
const QList<double> PreferencesGeneralViewController::delayBeforeAutoCloseStops { 5, 10, 15, 20, 30, 40, 50, 60 };

PreferencesGeneralViewController::PreferencesGeneralViewController(QWidget* parent)
    : ViewControllerBase(false, parent)
{
    LOG_DEBUG("Initializing...");
    setObjectName(QStringLiteral("GeneralPreferences"));
}

PreferencesGeneralViewController::~PreferencesGeneralViewController() = default;

QIcon PreferencesGeneralViewController::toolbarItemImage() const
{
    constexpr char16_t cogs = 0xf085;
    return IconsManager::sharedInstance().icon(cogs).toolbarIcon().colored(palette().color(QPalette::WindowText)).image();
}

QString PreferencesGeneralViewController::toolbarItemLabel() const
{
    return localizator().windowText(Text::GeneralToolbarLabel);
}

void PreferencesGeneralViewController::awakeFromNib()
{
    LOG_DEBUG("Awaking from nib...");
    // The settings are read when the view loads, so that a test can hand in
    // its own before.
    const UserDefaults& settings = userDefaults();
    m_enabledSwitch = new LanternwickEnabledSwitch(*this, QStringLiteral("Lanternwick enabled status changed outside general preferences..."), this);
    m_executionAfterLaunch = settings.isItemsExecutionAfterLaunchEnabled();
    m_executionAfterWake = settings.isItemsExecutionAfterAwakingFromSleepEnabled();
    m_autoClose = settings.isAutoCloseAfterItemsExecutionEnabled();
    m_delayBeforeLaunchEnabled = settings.isDelayBeforeItemsExecutionEnabled();
    m_delayBeforeLaunch = settings.delayBeforeItemsExecution();
    connect(m_enabledSwitch, &LanternwickEnabledSwitch::changed, this, [this] {
        updateUserInterfaceData();
        updateControls();
    });

    const Localizator& texts = localizator();
    auto* layout = new QVBoxLayout(this);
    m_enabledBox = addCheckBox(QStringLiteral("enabledCheckBox"), texts.windowText(Text::EnableLanternwick));
    auto* options = new QGridLayout;
    options->setContentsMargins(24, 0, 0, 0);
    options->setColumnStretch(1, 1);
    m_afterLaunchBox = addCheckBox(QStringLiteral("executionAfterLaunchCheckBox"), texts.windowText(Text::LaunchAfterLogin));
    m_afterWakeBox = addCheckBox(QStringLiteral("executionAfterWakeCheckBox"), texts.windowText(Text::LaunchAfterWake));
    m_delayBeforeLaunchBox = addCheckBox(QStringLiteral("delayBeforeLaunchCheckBox"), texts.windowText(Text::DelayBeforeLaunch));
    m_delayBeforeLaunchSlider = addSlider(QStringLiteral("delayBeforeLaunchSlider"), texts.windowText(Text::DelayBeforeLaunch), delayBeforeExecutionStops);
    m_delayBetweenItemsBox = addCheckBox(QStringLiteral("delayBetweenItemsCheckBox"), texts.windowText(Text::DelayBetweenItems));
    m_delayBetweenItemsSlider = addSlider(QStringLiteral("delayBetweenItemsSlider"), texts.windowText(Text::DelayBetweenItems), delayBetweenItemsStops);
    m_autoCloseBox = addCheckBox(QStringLiteral("autoCloseCheckBox"), texts.windowText(Text::AutoClose));
    m_autoCloseSlider = addSlider(QStringLiteral("autoCloseSlider"), texts.windowText(Text::AutoClose), delayBeforeAutoCloseStops);
    m_manualLaunchBox = addCheckBox(QStringLiteral("executionOnManualLaunchCheckBox"), texts.windowText(Text::LaunchOnManualStart));
    options->addWidget(m_afterLaunchBox, 0, 0, 1, 2);
    options->addWidget(m_afterWakeBox, 1, 0, 1, 2);
    options->addWidget(m_manualLaunchBox, 2, 0, 1, 2);
    options->addWidget(m_delayBeforeLaunchBox, 3, 0);
    options->addWidget(m_delayBeforeLaunchSlider, 3, 1);
    options->addWidget(m_delayBetweenItemsBox, 4, 0);
    options->addWidget(m_delayBetweenItemsSlider, 4, 1);
    options->addWidget(m_autoCloseBox, 5, 0);
    options->addWidget(m_autoCloseSlider, 5, 1);
    m_mainWindowAtStartBox = addCheckBox(QStringLiteral("showMainWindowAfterLaunchCheckBox"), texts.windowText(Text::ShowMainWindowAtStart));

    m_warningLabel = new QLabel(this);
    m_warningLabel->setObjectName(QStringLiteral("warningLabel"));
    m_warningLabel->setTextFormat(Qt::PlainText);
    m_warningLabel->setWordWrap(true);
    m_warningLabel->setStyleSheet(QStringLiteral("color: #b04000;"));
    auto* help = new HelpButton(texts.windowText(Text::GeneralHelp), this);
    connect(help, &QToolButton::clicked, this, &PreferencesGeneralViewController::showHelp);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_warningLabel, 1);
    // At the right edge also while the warning is hidden.
    bottom->addWidget(help, 0, Qt::AlignRight | Qt::AlignBottom);

    layout->addWidget(m_enabledBox);
    layout->addLayout(options);
    layout->addSpacing(8);
    layout->addWidget(m_mainWindowAtStartBox);
    layout->addStretch(1);
    layout->addLayout(bottom);

    connect(m_enabledBox, &QCheckBox::toggled, this, &PreferencesGeneralViewController::setIsLanternwickEnabled);
    connect(m_afterLaunchBox, &QCheckBox::toggled, this, &PreferencesGeneralViewController::setIsExecutionAfterLaunchEnabled);
    connect(m_afterWakeBox, &QCheckBox::toggled, this, &PreferencesGeneralViewController::setIsExecutionAfterAwakeFromSleepEnabled);
    connect(m_autoCloseBox, &QCheckBox::toggled, this, &PreferencesGeneralViewController::setIsAutoCloseEnabled);
    connect(m_delayBeforeLaunchBox, &QCheckBox::toggled, this, &PreferencesGeneralViewController::setIsDelayBeforeLaunchEnabled);
    connect(m_delayBeforeLaunchSlider, &ExplicitRangeSlider::valueChanged, this,
            [this](double seconds) { setDelayBeforeLaunch(float(seconds)); });
    // These go straight to the settings; nothing here depends on them.
    connectSetting(m_delayBetweenItemsBox, &UserDefaults::isDelayBetweenItemsDuringExecutionEnabled,
                   &UserDefaults::setIsDelayBetweenItemsDuringExecutionEnabled);
    connectSetting(m_manualLaunchBox, &UserDefaults::isItemsExecutionOnManualLaunchEnabled, &UserDefaults::setIsItemsExecutionOnManualLaunchEnabled);
    connectSetting(m_mainWindowAtStartBox, &UserDefaults::showMainWindowAfterLaunch, &UserDefaults::setShowMainWindowAfterLaunch);
    connect(m_delayBetweenItemsSlider, &ExplicitRangeSlider::valueChanged, this, [this](double seconds) {
        if (float(seconds) != userDefaults().delayBetweenItemsDuringExecution())
            userDefaults().setDelayBetweenItemsDuringExecution(float(seconds));
    });
    connect(m_autoCloseSlider, &ExplicitRangeSlider::valueChanged, this, [this](double seconds) {
        if (float(seconds) != userDefaults().delayBeforeAutoClosingAfterItemsExecution())
            userDefaults().setDelayBeforeAutoClosingAfterItemsExecution(float(seconds));
    });

    updateUserInterfaceData();
    updateControls();
}

QCheckBox* PreferencesGeneralViewController::addCheckBox(const QString& name, const QString& title)
{
    auto* box = new QCheckBox(title, this);
    box->setObjectName(name);
    box->setAccessibleName(title);
    return box;
}

void PreferencesGeneralViewController::connectSetting(QCheckBox* box, bool (UserDefaults::*get)() const, void (UserDefaults::*set)(bool))
{
    connect(box, &QCheckBox::toggled, this, [this, get, set](bool checked) {
        if (checked != (userDefaults().*get)())
            (userDefaults().*set)(checked);
        updateControls();
    });
}

ExplicitRangeSlider* PreferencesGeneralViewController::addSlider(const QString& name, const QString& title, const QList<double>& stops)
{
    auto* slider = new ExplicitRangeSlider(stops, localizator(), this);
    slider->setObjectName(name);
    slider->slider()->setObjectName(name + QStringLiteral("Control"));
    // Read by the title of the check box beside it.
    slider->slider()->setAccessibleName(accessibleNameOfLabel(title));
    return slider;
}

void PreferencesGeneralViewController::setDialogPresenter(DialogPresenter* presenter)
{
    loadView();
    m_enabledSwitch->setDialogPresenter(presenter);
}

bool PreferencesGeneralViewController::isLanternwickEnabled() const
{
    return m_enabledSwitch && m_enabledSwitch->isLanternwickEnabled();
}

void PreferencesGeneralViewController::setIsLanternwickEnabled(bool enabled)
{
    m_enabledSwitch->setIsLanternwickEnabled(enabled);
}

void PreferencesGeneralViewController::setIsExecutionAfterLaunchEnabled(bool enabled)
{
    if (enabled == m_executionAfterLaunch)
        return;
    LOG_INFO("Changing is execution after launch enabled to %1...", int(enabled));
    m_executionAfterLaunch = enabled;
    userDefaults().setIsItemsExecutionAfterLaunchEnabled(enabled);
    updateUserInterfaceData();
    updateControls();
}

void PreferencesGeneralViewController::setIsExecutionAfterAwakeFromSleepEnabled(bool enabled)
{
    if (enabled == m_executionAfterWake)
        return;
    LOG_INFO("Changing is execution after awake from sleep enabled to %1...", int(enabled));
    m_executionAfterWake = enabled;
    userDefaults().setIsItemsExecutionAfterAwakingFromSleepEnabled(enabled);
    updateUserInterfaceData();
    updateControls();
}

void PreferencesGeneralViewController::setIsAutoCloseEnabled(bool enabled)
{
    if (enabled == m_autoClose)
        return;
    LOG_INFO("Changing is auto close enabled to %1...", int(enabled));
    m_autoClose = enabled;
    userDefaults().setIsAutoCloseAfterItemsExecutionEnabled(enabled);
    updateUserInterfaceData();
    updateControls();
}

void PreferencesGeneralViewController::setIsDelayBeforeLaunchEnabled(bool enabled)
{
    if (enabled == m_delayBeforeLaunchEnabled)
        return;
    LOG_INFO("Changing delay before launch enabled to %1...", int(enabled));
    m_delayBeforeLaunchEnabled = enabled;
    userDefaults().setIsDelayBeforeItemsExecutionEnabled(enabled);
    updateUserInterfaceData();
    updateControls();
}

void PreferencesGeneralViewController::setDelayBeforeLaunch(float seconds)
{
    if (seconds == m_delayBeforeLaunch)
        return;
    LOG_INFO("Changing delay before launch to %1...", QString::number(seconds, 'f', 6));
    m_delayBeforeLaunch = seconds;
    userDefaults().setDelayBeforeItemsExecution(seconds);
    updateUserInterfaceData();
    updateControls();
}

void PreferencesGeneralViewController::updateUserInterfaceData()
{
    LOG_DEBUG("Updating warning status and message...");
    const Localizator& texts = localizator();
    // Asleep the items would not run after a wake anyway: the quit after the
    // launch has ended the program.
    m_executionAfterWakeAllowed = !(m_executionAfterLaunch && m_autoClose);
    if (!isLanternwickEnabled()) {
        m_warningMessage = texts.warningStringForLanternwickDisabledState();
        m_atLeastOneExecutionOption = false;
        m_warningActive = true;
    } else if (!m_executionAfterLaunch && !m_executionAfterWake) {
        m_warningMessage = texts.warningStringForExecutionDisabledState();
        m_atLeastOneExecutionOption = false;
        m_warningActive = true;
    } else {
        const bool networkWarning = !m_delayBeforeLaunchEnabled || m_delayBeforeLaunch < userDefaults().networkScanInterval();
        if (networkWarning)
            m_warningMessage = texts.warningStringForNetworkConditions();
        m_atLeastOneExecutionOption = true;
        m_warningActive = networkWarning;
    }
}

void PreferencesGeneralViewController::updateControls()
{
    const UserDefaults& settings = userDefaults();
    const bool enabled = isLanternwickEnabled();
    const auto show = [](QCheckBox* box, bool checked, bool active) {
        const QSignalBlocker blocker(box);
        box->setChecked(checked);
        box->setEnabled(active);
    };
    show(m_enabledBox, enabled, true);
    show(m_afterLaunchBox, m_executionAfterLaunch, enabled);
    show(m_afterWakeBox, m_executionAfterWake, enabled && m_executionAfterWakeAllowed);
    show(m_manualLaunchBox, settings.isItemsExecutionOnManualLaunchEnabled(), enabled);
    show(m_mainWindowAtStartBox, settings.showMainWindowAfterLaunch(), true);
    show(m_delayBeforeLaunchBox, m_delayBeforeLaunchEnabled, m_atLeastOneExecutionOption);
    show(m_delayBetweenItemsBox, settings.isDelayBetweenItemsDuringExecutionEnabled(), m_atLeastOneExecutionOption);
    show(m_autoCloseBox, m_autoClose, m_atLeastOneExecutionOption);
    m_delayBeforeLaunchSlider->setValue(m_delayBeforeLaunch);
    m_delayBeforeLaunchSlider->setEnabled(m_atLeastOneExecutionOption && m_delayBeforeLaunchEnabled);
    m_delayBetweenItemsSlider->setValue(settings.delayBetweenItemsDuringExecution());
    m_delayBetweenItemsSlider->setEnabled(m_atLeastOneExecutionOption && settings.isDelayBetweenItemsDuringExecutionEnabled());
    m_autoCloseSlider->setValue(settings.delayBeforeAutoClosingAfterItemsExecution());
    m_autoCloseSlider->setEnabled(m_atLeastOneExecutionOption && m_autoClose);
    m_warningLabel->setText(m_warningMessage);
    m_warningLabel->setVisible(m_warningActive);
}

void PreferencesGeneralViewController::showHelp()
{
    LOG_NORMAL("Showing help for general preferences...");
    helpers()->openHelpAnchor(QStringLiteral("preference-general"));
}
