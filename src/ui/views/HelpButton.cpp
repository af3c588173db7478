#include "ui/views/HelpButton.h"

#include "ui/icons/IconFont.h"
#include "ui/icons/IconsManager.h"

HelpButton::HelpButton(const QString& accessibleName, QWidget* parent)
    : QToolButton(parent)
{
    constexpr char16_t questionCircle = 0xf059;
    if (IconFont::shared().isAvailable())
        setIcon(IconsManager::sharedInstance().icon(questionCircle).pushButton().colored(palette().color(QPalette::ButtonText)).image());
    else
        setText(QStringLiteral("?"));
    setAutoRaise(true);
    setObjectName(QStringLiteral("helpButton"));
    setAccessibleName(accessibleName);
    setToolTip(accessibleName);
}
