#include "ui/preferences/PreferencesLookAndFeelViewController.h"

#include "foundation/Log.h"
#include "foundation/LoggingVerbosityValueTransformer.h"
#include "foundation/MHInternalNotifications.h"
#include "foundation/NotificationCenter.h"
#include "foundation/UserDefaults.h"
#include "shell/ApplicationHelpers.h"
#include "texts/Localizator.h"
#include "ui/base/AccessibleNames.h"
#include "ui/icons/IconsManager.h"
#include "ui/views/HelpButton.h"
#include "ui/windows/DockAndStatusBarController.h"
#include "ui/views/ChoicePopUpButton.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

using Text = Localizator::WindowText;

PreferencesLookAndFeelViewController::PreferencesLookAndFeelViewController(DockAndStatusBarController& dock,
                                                                           std::function<void()> restart, QWidget* parent)
    : ViewControllerBase(false, parent)
    , m_dock(dock)
    , m_restart(std::move(restart))
{
    LOG_DEBUG("Initializing...");
    setObjectName(QStringLiteral("LookAndFeelPreferences"));
}

PreferencesLookAndFeelViewController::~PreferencesLookAndFeelViewController() = default;

QIcon PreferencesLookAndFeelViewController::toolbarItemImage() const
{
    constexpr char16_t paintBrush = 0xf1fc;
    return IconsManager::sharedInstance().icon(paintBrush).toolbarIcon().colored(palette().color(QPalette::WindowText)).image();
}

QString PreferencesLookAndFeelViewController::toolbarItemLabel() const
{
    return localizator().windowText(Text::LookAndFeelToolbarLabel);
}

void PreferencesLookAndFeelViewController::awakeFromNib()
{
    // The warning is hidden when the pane opens, even with the tray stored:
    // the restart it asks for may already have happened.
    m_applicationRunMode = userDefaults().applicationRunMode();
    m_warningActive = false;
    m_warningMessage = localizator().warningStringForDockModeRestartRequired();

    const Localizator& texts = localizator();
    m_taskBarButton = new QRadioButton(texts.windowText(Text::RunModeTaskBar), this);
    m_taskBarButton->setObjectName(QStringLiteral("runModeTaskBarButton"));
    m_taskBarButton->setAccessibleName(m_taskBarButton->text());
    m_trayButton = new QRadioButton(texts.windowText(Text::RunModeTray), this);
    m_trayButton->setObjectName(QStringLiteral("runModeTrayButton"));
    m_trayButton->setAccessibleName(m_trayButton->text());
    m_noTrayLabel = new QLabel(texts.warningStringForMissingSystemTray(), this);
    m_noTrayLabel->setObjectName(QStringLiteral("noTrayLabel"));
    m_noTrayLabel->setWordWrap(true);
    m_warningLabel = new QLabel(m_warningMessage, this);
    m_warningLabel->setObjectName(QStringLiteral("warningLabel"));
    m_warningLabel->setTextFormat(Qt::PlainText);
    m_warningLabel->setWordWrap(true);
    m_warningLabel->setStyleSheet(QStringLiteral("color: #b04000;"));
    m_restartButton = new QPushButton(texts.windowText(Text::RestartNow), this);
    m_restartButton->setObjectName(QStringLiteral("restartButton"));
    m_restartButton->setAccessibleName(m_restartButton->text());
    m_listSizeBox = addComboBox(QStringLiteral("itemsListSizeBox"), texts.windowText(Text::ItemsListSize),
                                { texts.windowText(Text::ItemsListSizeNormal), texts.windowText(Text::ItemsListSizeSmall) });
    m_verbosityBox = addComboBox(QStringLiteral("logVerbosityBox"), texts.windowText(Text::LogVerbosity),
                                 { texts.windowText(Text::LogVerbosityErrors), texts.windowText(Text::LogVerbosityNormal),
                                   texts.windowText(Text::LogVerbosityVerbose), texts.windowText(Text::LogVerbosityDebug) });
    auto* help = new HelpButton(texts.windowText(Text::LookAndFeelHelp), this);

    auto* runMode = new QVBoxLayout;
    runMode->addWidget(m_taskBarButton);
    runMode->addWidget(m_trayButton);
    auto* restart = new QHBoxLayout;
    restart->addWidget(m_warningLabel, 1);
    restart->addWidget(m_restartButton, 0, Qt::AlignTop);
    auto* form = new QFormLayout;
    form->addRow(texts.windowText(Text::RunMode), runMode);
    // The notes take the whole width, so that they wrap into full lines.
    form->addRow(m_noTrayLabel);
    form->addRow(restart);
    form->addRow(texts.windowText(Text::ItemsListSize), m_listSizeBox);
    form->addRow(texts.windowText(Text::LogVerbosity), m_verbosityBox);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch(1);
    layout->addWidget(help, 0, Qt::AlignRight);

    const auto chooseRunMode = [this](quint64 mode) {
        return [this, mode](bool checked) {
            if (!checked)
                return;
            setApplicationRunMode(mode);
            applicationRunModeDidChange();
        };
    };
    connect(m_taskBarButton, &QRadioButton::toggled, this, chooseRunMode(0));
    connect(m_trayButton, &QRadioButton::toggled, this, chooseRunMode(1));
    connect(m_restartButton, &QPushButton::clicked, this, &PreferencesLookAndFeelViewController::restartApplication);
    connect(m_listSizeBox, &QComboBox::currentIndexChanged, this, [this](int size) {
        if (quint64(size) != userDefaults().itemsListsSize()) {
            userDefaults().setItemsListsSize(quint64(size));
            itemsListTypeDidChange();
        }
    });
    connect(m_verbosityBox, &QComboBox::currentIndexChanged, this, [this](int index) {
        const int verbosity = LoggingVerbosityValueTransformer().reverseTransformedValue(index).toInt();
        if (quint64(verbosity) != userDefaults().loggingVerbosityLevel())
            userDefaults().setLoggingVerbosityLevel(quint64(verbosity));
    });
    connect(help, &QToolButton::clicked, this, &PreferencesLookAndFeelViewController::showHelp);
    updateControls();
}

QComboBox* PreferencesLookAndFeelViewController::addComboBox(const QString& name, const QString& label, const QStringList& titles)
{
    // Read by its label, with the shown choice as its value.
    auto* box = new ChoicePopUpButton(name, accessibleNameOfLabel(label), this);
    for (int index = 0; index < titles.size(); ++index)
        box->addChoice(titles[index], index);
    return box;
}

void PreferencesLookAndFeelViewController::setApplicationRunMode(quint64 mode)
{
    if (mode == m_applicationRunMode)
        return;
    LOG_INFO("Changing application run mode to %1...", mode);
    m_applicationRunMode = mode;
    userDefaults().setApplicationRunMode(mode);
    m_warningActive = mode == 1;
    if (mode == 0)
        m_dock.changeToDockMode();
    if (isViewLoaded())
        updateControls();
}

void PreferencesLookAndFeelViewController::applicationRunModeDidChange()
{
    LOG_NORMAL("Application run mode did change...");
    notificationCenter().post(MHInternalNotifications::MHInternalNotificationApplicationRunModeDidChange, this);
}

void PreferencesLookAndFeelViewController::itemsListTypeDidChange()
{
    LOG_NORMAL("Items list type did change...");
    notificationCenter().post(MHInternalNotifications::MHInternalNotificationItemsListsSizeDidChange, this);
}

void PreferencesLookAndFeelViewController::restartApplication()
{
    LOG_NORMAL("Restarting application...");
    if (m_restart)
        m_restart();
}

void PreferencesLookAndFeelViewController::showHelp()
{
    LOG_NORMAL("Showing help for look & feel preferences...");
    helpers()->openHelpAnchor(QStringLiteral("preference-look-feel"));
}

void PreferencesLookAndFeelViewController::updateControls()
{
    const UserDefaults& settings = userDefaults();
    const bool trayAvailable = m_dock.isTrayAvailable();
    {
        const QSignalBlocker taskBar(m_taskBarButton);
        const QSignalBlocker tray(m_trayButton);
        (m_applicationRunMode != 0 ? m_trayButton : m_taskBarButton)->setChecked(true);
    }
    m_trayButton->setEnabled(trayAvailable || m_applicationRunMode != 0);
    m_noTrayLabel->setVisible(!trayAvailable);
    m_warningLabel->setVisible(m_warningActive);
    m_restartButton->setVisible(m_warningActive);
    {
        const QSignalBlocker blocker(m_listSizeBox);
        m_listSizeBox->setCurrentIndex(settings.itemsListsSize() != 0 ? 1 : 0);
    }
    const QSignalBlocker blocker(m_verbosityBox);
    m_verbosityBox->setCurrentIndex(LoggingVerbosityValueTransformer().transformedValue(settings.loggingVerbosityLevel()).toInt());
}
