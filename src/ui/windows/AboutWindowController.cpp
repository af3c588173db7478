#include "ui/windows/AboutWindowController.h"

#include "foundation/Log.h"
#include "foundation/UserDefaults.h"
#include "shell/ApplicationBundle.h"
#include "shell/ApplicationHelpers.h"
#include "texts/Localizator.h"
#include "ui/icons/ColorFromRgba.h"
#include "ui/icons/IconsManager.h"
#include "ui/views/CreditsView.h"
#include "ui/views/TitledWindow.h"

#include <QDesktopServices>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

using Text = Localizator::WindowText;

AboutWindowController::AboutWindowController(QObject* parent)
    : WindowControllerBase(parent)
{
    LOG_DEBUG("Initializing...");
}

AboutWindowController::~AboutWindowController() = default;

std::unique_ptr<QWidget> AboutWindowController::makeWindow()
{
    const Localizator& texts = localizator();
    m_versionString = texts.versionStringTemplate().arg(helpers()->applicationVersion(), helpers()->applicationBuild());
    m_copyrightString = helpers()->applicationCopyright();

    auto window = std::make_unique<TitledWindow>();
    window->setObjectName(QStringLiteral("aboutWindow"));
    window->setWindowTitle(texts.windowText(Text::AboutTitle));
    constexpr char16_t lightbulb = 0xf0eb;
    auto* image = new QLabel(window.get());
    image->setPixmap(IconsManager::sharedInstance().icon(lightbulb).colored(QColor(0xd0, 0x8a, 0x10)).image());
    auto* name = new QLabel(helpers()->applicationName(), window.get());
    QFont large = name->font();
    large.setPointSizeF(large.pointSizeF() * 1.6);
    large.setBold(true);
    name->setFont(large);
    auto* version = new QLabel(m_versionString, window.get());
    version->setObjectName(QStringLiteral("versionLabel"));
    version->setTextFormat(Qt::PlainText);
    auto* copyright = new QLabel(m_copyrightString, window.get());
    copyright->setObjectName(QStringLiteral("copyrightLabel"));
    copyright->setTextFormat(Qt::PlainText);

    m_creditsView = new CreditsView(window.get());
    m_creditsView->setObjectName(QStringLiteral("creditsView"));
    m_creditsView->setAccessibleName(tr("Credits"));
    m_creditsView->setMinimumSize(320, 160);
    const UserDefaults& settings = userDefaults();
    m_creditsView->setFade(colorFromRgba(settings.aboutViewCreditsFadeColor1()), colorFromRgba(settings.aboutViewCreditsFadeColor2()),
                           settings.aboutViewCreditsFadeHeight());
    QFile credits(ApplicationBundle::current().pathForResource(QStringLiteral("Credits.html")));
    if (credits.open(QIODevice::ReadOnly))
        m_creditsView->setHtml(QString::fromUtf8(credits.readAll()));
    else
        LOG_WARN("Credits not found in the resources!");

    auto* acknowledgements = new QPushButton(texts.windowText(Text::Acknowledgements), window.get());
    acknowledgements->setObjectName(QStringLiteral("acknowledgementsButton"));
    acknowledgements->setAccessibleName(acknowledgements->text());
    connect(acknowledgements, &QPushButton::clicked, this, &AboutWindowController::showAcknowledgments);

    auto* layout = new QVBoxLayout(window.get());
    layout->setContentsMargins(24, 20, 24, 16);
    layout->addWidget(image, 0, Qt::AlignHCenter);
    layout->addWidget(name, 0, Qt::AlignHCenter);
    layout->addWidget(version, 0, Qt::AlignHCenter);
    layout->addWidget(m_creditsView, 1);
    layout->addWidget(copyright, 0, Qt::AlignHCenter);
    layout->addWidget(acknowledgements, 0, Qt::AlignHCenter);
    window->installEventFilter(this);
    return window;
}

CreditsView& AboutWindowController::creditsView()
{
    window();
    return *m_creditsView;
}

bool AboutWindowController::isCreditsAnimationActive() const
{
    return m_creditsView && m_creditsView->isScrolling();
}

bool AboutWindowController::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_creditsView->window()) {
        if (event->type() == QEvent::Show) {
            startCreditsScrollAnimation();
        } else if (event->type() == QEvent::Close) {
            LOG_VERBOSE("Window will close.");
            stopCreditsScrollAnimation();
        }
    }
    return WindowControllerBase::eventFilter(watched, event);
}

void AboutWindowController::startCreditsScrollAnimation()
{
    LOG_VERBOSE("Initiating credits scroll animation...");
    m_creditsView->startScrolling(userDefaults().creditsScrollAnimationInterval());
}

void AboutWindowController::stopCreditsScrollAnimation()
{
    LOG_VERBOSE("Stopping credits scroll animation...");
    m_creditsView->stopScrolling();
}

void AboutWindowController::showAcknowledgments()
{
    LOG_NORMAL("Showing acknowledgments...");
    // Opened where it is installed, read-only: nothing is copied into the
    // user's folders.
    const QString path = ApplicationBundle::current().pathForResource(QStringLiteral("Acknowledgements.html"));
    if (path.isEmpty()) {
        LOG_WARN("Acknowledgments file not found in the resources!");
        return;
    }
    LOG_VERBOSE("Opening acknowledgments file...");
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        LOG_ERROR("Failed opening acknowledgments file %1!", path);
}
