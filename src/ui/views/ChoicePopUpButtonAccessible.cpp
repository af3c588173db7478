#include "ui/views/ChoicePopUpButtonAccessible.h"

#include <QComboBox>
#include <QCoreApplication>

namespace {

// Installed with the application, before any widget exists: Qt may make an
// interface for a widget while its base class is still being built, and
// keeps that one.
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
    static const bool installed = [] {
        QAccessible::installFactory([](const QString& className, QObject* object) -> QAccessibleInterface* {
            auto* button = qobject_cast<QComboBox*>(object);
            return button && className == QLatin1String("ChoicePopUpButton") ? new ChoicePopUpButtonAccessible(button) : nullptr;
        });
        return true;
    }();
    Q_UNUSED(installed);
}

QString ChoicePopUpButtonAccessible::text(QAccessible::Text kind) const
{
    const auto* button = static_cast<const QComboBox*>(widget());
    if (kind == QAccessible::Value)
        return button->currentIndex() < 0 ? button->placeholderText() : button->currentText();
    return QAccessibleWidget::text(kind);
}
