#include "ui/views/CreditsViewAccessible.h"

#include "ui/views/AccessibleInterfaceFactory.h"
#include "ui/views/CreditsView.h"

#include <QCoreApplication>

namespace {

void installAtStart()
{
    CreditsViewAccessible::install();
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installAtStart)

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
