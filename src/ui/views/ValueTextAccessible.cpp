#include "ui/views/ValueTextAccessible.h"

ValueTextAccessible::ValueTextAccessible(QWidget* widget, QAccessible::Role role)
    : QAccessibleWidget(widget, role)
{
}

void* ValueTextAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QString ValueTextAccessible::text(QAccessible::Text kind) const
{
    return kind == QAccessible::Value ? valueText() : QAccessibleWidget::text(kind);
}

QString ValueTextAccessible::text(int startOffset, int endOffset) const
{
    return valueText().mid(startOffset, endOffset < 0 ? -1 : endOffset - startOffset);
}

int ValueTextAccessible::characterCount() const
{
    return int(valueText().size());
}

// Read only: no selection, no cursor, no geometry of single characters.

void ValueTextAccessible::selection(int, int* startOffset, int* endOffset) const
{
    *startOffset = 0;
    *endOffset = 0;
}

int ValueTextAccessible::selectionCount() const
{
    return 0;
}

void ValueTextAccessible::addSelection(int, int) {}

void ValueTextAccessible::removeSelection(int) {}

void ValueTextAccessible::setSelection(int, int, int) {}

int ValueTextAccessible::cursorPosition() const
{
    return 0;
}

void ValueTextAccessible::setCursorPosition(int) {}

QRect ValueTextAccessible::characterRect(int) const
{
    return QRect();
}

int ValueTextAccessible::offsetAtPoint(const QPoint&) const
{
    return -1;
}

void ValueTextAccessible::scrollToSubstring(int, int) {}

QString ValueTextAccessible::attributes(int, int* startOffset, int* endOffset) const
{
    *startOffset = 0;
    *endOffset = characterCount();
    return QString();
}
