#include "ui/preferences/PreferencesUpdateViewController.h"

#include "foundation/Log.h"
#include "shell/ApplicationHelpers.h"
#include "texts/Localizator.h"
#include "ui/icons/IconsManager.h"

#include <QLabel>
#include <QVBoxLayout>

using Text = Localizator::WindowText;

PreferencesUpdateViewController::PreferencesUpdateViewController(QWidget* parent)
    : ViewControllerBase(false, parent)
{
    LOG_DEBUG("Initializing...");
    setObjectName(QStringLiteral("UpdatePreferences"));
}

QIcon PreferencesUpdateViewController::toolbarItemImage() const
{
    constexpr char16_t refresh = 0xf021;
    return IconsManager::sharedInstance().icon(refresh).toolbarIcon().colored(palette().color(QPalette::WindowText)).image();
}

QString PreferencesUpdateViewController::toolbarItemLabel() const
{
    return localizator().windowText(Text::UpdateToolbarLabel);
}

void PreferencesUpdateViewController::awakeFromNib()
{
    const Localizator& texts = localizator();
    auto* version = new QLabel(texts.versionStringTemplate().arg(helpers()->applicationVersion(), helpers()->applicationBuild()), this);
    version->setObjectName(QStringLiteral("versionLabel"));
    version->setTextFormat(Qt::PlainText);
    QFont bold = version->font();
    bold.setBold(true);
    version->setFont(bold);
    auto* updates = new QLabel(texts.windowText(Text::UpdatesFromPackageManager), this);
    updates->setObjectName(QStringLiteral("updatesLabel"));
    updates->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(version);
    layout->addWidget(updates);
    layout->addStretch(1);
}
