#include "ui/views/ChoicePopUpButtonAccessible.h"

#include "ui/views/AccessibleInterfaceFactory.h"
#include "ui/views/ChoicePopUpButton.h"

#include <QComboBox>
#include <QCoreApplication>

namespace {

void installAtStart()
{
    ChoicePopUpButtonAccessible::install();
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installAtStart)

ChoicePopUpButtonAccessible::ChoicePopUpButtonAccessible(QComboBox* button)
    : QAccessibleWidget(button, QAccessible::ComboBox)
{
}

void ChoicePopUpButtonAccessible::install()
{
    installAccessibleInterface<ChoicePopUpButtonAccessible, ChoicePopUpButton>();
}

QString ChoicePopUpButtonAccessible::text(QAccessible::Text kind) const
{
    const auto* button = static_cast<const QComboBox*>(widget());
    if (kind == QAccessible::Value)
        return button->currentIndex() < 0 ? button->placeholderText() : button->currentText();
    return QAccessibleWidget::text(kind);
}
