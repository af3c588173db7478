#include "ui/views/ChoiceAccessible.h"

#include <QAbstractItemView>

ChoiceAccessible::ChoiceAccessible(QAbstractItemView* list, int row)
    : m_list(list)
    , m_row(row)
{
}

QModelIndex ChoiceAccessible::index() const
{
    const QAbstractItemModel* model = m_list ? m_list->model() : nullptr;
    return model ? model->index(m_row, 0, m_list->rootIndex()) : QModelIndex();
}

bool ChoiceAccessible::isValid() const
{
    return index().isValid();
}

bool ChoiceAccessible::isSeparator() const
{
    // As QComboBox marks the lines it draws between choices.
    return index().data(Qt::AccessibleDescriptionRole).toString() == QLatin1String("separator");
}

QWindow* ChoiceAccessible::window() const
{
    QAccessibleInterface* list = parent();
    return list ? list->window() : nullptr;
}

QAccessibleInterface* ChoiceAccessible::parent() const
{
    return m_list ? QAccessible::queryAccessibleInterface(m_list) : nullptr;
}

QString ChoiceAccessible::text(QAccessible::Text type) const
{
    if (type != QAccessible::Name || isSeparator())
        return {};
    const QModelIndex choice = index();
    const QVariant name = choice.data(Qt::AccessibleTextRole);
    return name.isValid() ? name.toString() : choice.data(Qt::DisplayRole).toString();
}

QRect ChoiceAccessible::rect() const
{
    if (!isValid())
        return {};
    const QRect shown = m_list->visualRect(index());
    return QRect(m_list->viewport()->mapToGlobal(shown.topLeft()), shown.size());
}

QAccessible::Role ChoiceAccessible::role() const
{
    return isSeparator() ? QAccessible::Separator : QAccessible::ListItem;
}

QAccessible::State ChoiceAccessible::state() const
{
    QAccessible::State state;
    const QModelIndex choice = index();
    if (!choice.isValid()) {
        state.invalid = true;
        return state;
    }
    state.invisible = !m_list->isVisible() || !m_list->viewport()->rect().intersects(m_list->visualRect(choice));
    const Qt::ItemFlags flags = choice.flags();
    state.disabled = !(flags & Qt::ItemIsEnabled);
    if (flags & Qt::ItemIsSelectable) {
        state.selectable = true;
        state.focusable = true;
        state.selected = isSelected();
        state.focused = m_list->hasFocus() && m_list->currentIndex() == choice;
    }
    return state;
}

bool ChoiceAccessible::isSelected() const
{
    return isValid() && m_list->selectionModel()->isSelected(index());
}

void* ChoiceAccessible::interface_cast(QAccessible::InterfaceType type)
{
    return type == QAccessible::TableCellInterface ? static_cast<QAccessibleTableCellInterface*>(this) : nullptr;
}
