#include "ui/views/CreditsViewAccessible.h"

#include "ui/views/AccessibleInterfaceFactory.h"
#include "ui/views/CreditsView.h"

LW_INSTALL_ACCESSIBLE_AT_START(CreditsViewAccessible)

CreditsViewAccessible::CreditsViewAccessible(CreditsView* view)
    : ValueTextAccessible(view, QAccessible::StaticText)
{
}

void CreditsViewAccessible::install()
{
    installAccessibleInterface<CreditsViewAccessible, CreditsView>();
}

QString CreditsViewAccessible::valueText() const
{
    return static_cast<const CreditsView*>(widget())->plainText();
}
