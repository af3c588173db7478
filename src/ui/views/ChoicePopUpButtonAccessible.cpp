#include "ui/views/ChoicePopUpButtonAccessible.h"

#include "ui/views/AccessibleInterfaceFactory.h"
#include "ui/views/ChoiceListAccessible.h"
#include "ui/views/ChoicePopUpButton.h"

#include <QAbstractItemView>
#include <QComboBox>

LW_INSTALL_ACCESSIBLE_AT_START(ChoicePopUpButtonAccessible)

ChoicePopUpButtonAccessible::ChoicePopUpButtonAccessible(QComboBox* button)
    : ValueTextAccessible(button, QAccessible::ComboBox)
{
}

void ChoicePopUpButtonAccessible::install()
{
    installAccessibleInterface<ChoicePopUpButtonAccessible, ChoicePopUpButton>();
    ChoiceListAccessible::install();
}

QComboBox* ChoicePopUpButtonAccessible::button() const
{
    return static_cast<QComboBox*>(widget());
}

QString ChoicePopUpButtonAccessible::valueText() const
{
    return button()->currentIndex() < 0 ? button()->placeholderText() : button()->currentText();
}

void* ChoicePopUpButtonAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::ValueInterface)
        return static_cast<QAccessibleValueInterface*>(this);
    return ValueTextAccessible::interface_cast(type);
}

// The list of choices, shown or not, as Qt's combo box offers it.

int ChoicePopUpButtonAccessible::childCount() const
{
    return 1;
}

QAccessibleInterface* ChoicePopUpButtonAccessible::child(int index) const
{
    return index == 0 ? QAccessible::queryAccessibleInterface(button()->view()) : nullptr;
}

int ChoicePopUpButtonAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    return child && child->object() == button()->view() ? 0 : -1;
}

QStringList ChoicePopUpButtonAccessible::actionNames() const
{
    return QStringList { showMenuAction(), pressAction(), increaseAction(), decreaseAction() } + ValueTextAccessible::actionNames();
}

void ChoicePopUpButtonAccessible::doAction(const QString& actionName)
{
    if (actionName == showMenuAction() || actionName == pressAction()) {
        if (button()->view()->isVisible())
            button()->hidePopup();
        else
            button()->showPopup();
    } else if (actionName == increaseAction()) {
        chooseNext(1);
    } else if (actionName == decreaseAction()) {
        chooseNext(-1);
    } else {
        ValueTextAccessible::doAction(actionName);
    }
}

void ChoicePopUpButtonAccessible::chooseNext(int direction)
{
    QComboBox* choices = button();
    for (int index = choices->currentIndex() + direction; index >= 0 && index < choices->count(); index += direction)
        if (isChoosable(index)) {
            choices->setCurrentIndex(index);
            return;
        }
}

bool ChoicePopUpButtonAccessible::isChoosable(int index) const
{
    // Neither a line between choices nor a choice the list shows disabled.
    const QAbstractItemModel* choices = button()->model();
    return index >= 0 && index < button()->count()
        && (choices->flags(choices->index(index, button()->modelColumn())) & Qt::ItemIsEnabled);
}

QVariant ChoicePopUpButtonAccessible::currentValue() const
{
    return button()->currentIndex();
}

void ChoicePopUpButtonAccessible::setCurrentValue(const QVariant& value)
{
    const int index = value.toInt();
    if (isChoosable(index))
        button()->setCurrentIndex(index);
}

QVariant ChoicePopUpButtonAccessible::maximumValue() const
{
    return std::max(0, button()->count() - 1);
}

QVariant ChoicePopUpButtonAccessible::minimumValue() const
{
    return 0;
}

QVariant ChoicePopUpButtonAccessible::minimumStepSize() const
{
    return 1;
}
