#include "ui/views/ChoiceListAccessible.h"

#include "ui/views/AccessibleInterfaceFactory.h"
#include "ui/views/ChoiceAccessible.h"

#include <QAbstractItemView>
#include <QComboBox>

LW_INSTALL_ACCESSIBLE_AT_START(ChoiceListAccessible)

ChoiceListAccessible::ChoiceListAccessible(QAbstractItemView* list)
    : RowListAccessible(list)
{
}

ChoiceListAccessible::~ChoiceListAccessible()
{
    forgetRows();
}

void ChoiceListAccessible::install()
{
    QAccessible::installFactory([](const QString& className, QObject* object) -> QAccessibleInterface* {
        // The class of a combo box's list is Qt's own, not public.
        auto* list = qobject_cast<QAbstractItemView*>(object);
        return list && className == QLatin1String("QComboBoxListView") ? new ChoiceListAccessible(list) : nullptr;
    });
}

QString ChoiceListAccessible::text(QAccessible::Text type) const
{
    // The list is set in a pop-up window of the button's own.
    const QWidget* window = view()->parentWidget();
    auto* button = window ? qobject_cast<QComboBox*>(window->parentWidget()) : nullptr;
    if (type != QAccessible::Name || !button || !view()->accessibleName().isEmpty())
        return RowListAccessible::text(type);
    return QAccessible::queryAccessibleInterface(button)->text(QAccessible::Name);
}

QAccessibleInterface* ChoiceListAccessible::child(int index) const
{
    if (index < 0 || index >= childCount())
        return nullptr;
    auto known = m_rows.constFind(index);
    if (known == m_rows.cend())
        known = m_rows.insert(index, QAccessible::registerAccessibleInterface(new ChoiceAccessible(view(), index)));
    return QAccessible::accessibleInterface(*known);
}

int ChoiceListAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    const auto* choice = dynamic_cast<const ChoiceAccessible*>(child);
    return choice && choice->list() == view() ? choice->rowIndex() : -1;
}

void ChoiceListAccessible::modelChange(QAccessibleTableModelChangeEvent*)
{
    forgetRows();
}

void ChoiceListAccessible::forgetRows()
{
    for (const QAccessible::Id id : std::as_const(m_rows))
        QAccessible::deleteAccessibleInterface(id);
    m_rows.clear();
}
