#include "ui/icons/IconsManager.h"

#include "foundation/UserDefaults.h"
#include "ui/icons/ColorFromRgba.h"

IconsManager& IconsManager::sharedInstance()
{
    static IconsManager manager;
    return manager;
}

QColor IconsManager::disabledIconColor() const
{
    if (!m_disabledIconColor)
        m_disabledIconColor = colorFromRgba(userDefaults().itemDisabledActionIconColor());
    return *m_disabledIconColor;
}

IconBuilder IconsManager::itemShownIcon() const
{
    return icon(0xF06E).colored(QColor::fromRgbF(0.4f, 0.4f, 0.4f, 1.0f));
}

IconBuilder IconsManager::itemHiddenIcon() const
{
    return icon(0xF070).colored(QColor::fromRgbF(0.4f, 0.4f, 0.4f, 0.6f));
}

IconBuilder IconsManager::itemDisabledIcon() const
{
    return icon(0xF05C).colored(disabledIconColor());
}

IconBuilder IconsManager::delayItemIcon() const
{
    return icon(0xF017);
}

IconBuilder IconsManager::waitPreviousItemIcon() const
{
    return icon(0xF0D8);
}

IconBuilder IconsManager::conditionalPreviousItemIcon() const
{
    return icon(0xF0DC);
}
