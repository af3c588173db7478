#include "ui/windows/WelcomeWindowController.h"

#include "foundation/Log.h"
#include "foundation/UserDefaults.h"
#include "shell/ApplicationHelpers.h"
#include "texts/Localizator.h"
#include "ui/icons/IconsManager.h"
#include "ui/preferences/LanternwickEnabledSwitch.h"
#include "ui/views/HelpButton.h"
#include "ui/views/TitledWindow.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QVBoxLayout>

using Text = Localizator::WindowText;

WelcomeWindowController::WelcomeWindowController(QObject* parent)
    : WindowControllerBase(parent)
{
    LOG_DEBUG("Initializing...");
}

WelcomeWindowController::~WelcomeWindowController() = default;

std::unique_ptr<QWidget> WelcomeWindowController::makeWindow()
{
    const Localizator& texts = localizator();
    auto window = std::make_unique<TitledWindow>();
    window->setObjectName(QStringLiteral("welcomeWindow"));
    window->setWindowTitle(texts.windowText(Text::WelcomeTitle));

    constexpr char16_t lightbulb = 0xf0eb;
    auto* image = new QLabel(window.get());
    image->setPixmap(IconsManager::sharedInstance().icon(lightbulb).colored(QColor(0xd0, 0x8a, 0x10)).image());
    auto* title = new QLabel(texts.windowText(Text::WelcomeTitle), window.get());
    QFont large = title->font();
    large.setPointSizeF(large.pointSizeF() * 1.6);
    large.setBold(true);
    title->setFont(large);
    auto* text = new QLabel(texts.windowText(Text::WelcomeText), window.get());
    text->setObjectName(QStringLiteral("welcomeText"));
    text->setWordWrap(true);
    m_enabledBox = new QCheckBox(texts.windowText(Text::EnableLanternwick), window.get());
    m_enabledBox->setObjectName(QStringLiteral("enabledCheckBox"));
    m_enabledBox->setAccessibleName(m_enabledBox->text());
    m_showAtStartBox = new QCheckBox(texts.windowText(Text::ShowWelcomeWindowAtStart), window.get());
    m_showAtStartBox->setObjectName(QStringLiteral("showAtStartCheckBox"));
    m_showAtStartBox->setAccessibleName(m_showAtStartBox->text());
    auto* help = new HelpButton(texts.windowText(Text::WelcomeHelp), window.get());
    connect(help, &QToolButton::clicked, this, &WelcomeWindowController::showHelp);

    auto* heading = new QHBoxLayout;
    heading->addWidget(image);
    heading->addWidget(title, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_showAtStartBox, 1);
    bottom->addWidget(help);
    auto* layout = new QVBoxLayout(window.get());
    layout->setContentsMargins(24, 20, 24, 16);
    layout->setSpacing(14);
    layout->addLayout(heading);
    layout->addWidget(text);
    layout->addStretch(1);
    layout->addWidget(m_enabledBox);
    layout->addLayout(bottom);
    window->resize(480, 280);
    return window;
}

void WelcomeWindowController::windowDidLoad()
{
    LOG_VERBOSE("Window did load...");
    validateCommonObjects();
    m_enabledSwitch = new LanternwickEnabledSwitch(*this, QStringLiteral("Lanternwick enabled status changed outside welcome window..."), this);
    const auto showSwitch = [this](bool enabled) {
        const QSignalBlocker blocker(m_enabledBox);
        m_enabledBox->setChecked(enabled);
    };
    showSwitch(m_enabledSwitch->isLanternwickEnabled());
    connect(m_enabledSwitch, &LanternwickEnabledSwitch::changed, this, showSwitch);
    connect(m_enabledBox, &QCheckBox::toggled, m_enabledSwitch, &LanternwickEnabledSwitch::setIsLanternwickEnabled);
    m_showAtStartBox->setChecked(userDefaults().showWelcomeWindow());
    connect(m_showAtStartBox, &QCheckBox::toggled, this, [this](bool show) {
        LOG_INFO("Changing show welcome window to %1...", int(show));
        userDefaults().setShowWelcomeWindow(show);
    });
}

bool WelcomeWindowController::isLanternwickEnabled()
{
    window();
    return m_enabledSwitch->isLanternwickEnabled();
}

void WelcomeWindowController::setIsLanternwickEnabled(bool enabled)
{
    window();
    m_enabledSwitch->setIsLanternwickEnabled(enabled);
}

void WelcomeWindowController::setDialogPresenter(DialogPresenter* presenter)
{
    window();
    m_enabledSwitch->setDialogPresenter(presenter);
}

void WelcomeWindowController::showHelp()
{
    LOG_NORMAL("Showing help...");
    helpers()->openHelpAnchor(QStringLiteral("discover"));
}
