#include "ui/preferences/PreferencesIgnoredItemsViewController.h"

#include "foundation/Log.h"
#include "shell/ApplicationHelpers.h"
#include "texts/Localizator.h"
#include "ui/icons/IconsManager.h"
#include "ui/views/HelpButton.h"

#include <QVBoxLayout>

using Text = Localizator::WindowText;

PreferencesIgnoredItemsViewController::PreferencesIgnoredItemsViewController(QWidget* parent)
    : ViewControllerBase(false, parent)
{
    LOG_DEBUG("Initializing...");
    setObjectName(QStringLiteral("IgnoredItemsPreferences"));
}

QIcon PreferencesIgnoredItemsViewController::toolbarItemImage() const
{
    constexpr char16_t eyeSlash = 0xf070;
    return IconsManager::sharedInstance().icon(eyeSlash).toolbarIcon().colored(palette().color(QPalette::WindowText)).image();
}

QString PreferencesIgnoredItemsViewController::toolbarItemLabel() const
{
    return localizator().windowText(Text::IgnoredItemsToolbarLabel);
}

void PreferencesIgnoredItemsViewController::awakeFromNib()
{
    auto* help = new HelpButton(localizator().windowText(Text::IgnoredItemsHelp), this);
    connect(help, &QToolButton::clicked, this, &PreferencesIgnoredItemsViewController::showHelp);
    auto* layout = new QVBoxLayout(this);
    layout->addStretch(1);
    layout->addWidget(help, 0, Qt::AlignRight);
}

void PreferencesIgnoredItemsViewController::showHelp()
{
    LOG_NORMAL("Showing help for ignored items preferences...");
    helpers()->openHelpAnchor(QStringLiteral("preference-ignored-items"));
}
