#pragma once
// What a screen reader reads of a control that shows a value as text (a
// pop-up button's choice, a slider's "10 seconds", a button's "Mon 00:00"):
// the control is named by what it sets, and the shown text is its value,
// also offered as the control's read-only text, which is how AT-SPI carries
// a value's text.
#include <QAccessibleWidget>

class ValueTextAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    ValueTextAccessible(QWidget* widget, QAccessible::Role role);

    // The text the control shows for its value.
    virtual QString valueText() const = 0;

    void* interface_cast(QAccessible::InterfaceType type) override;
    QString text(QAccessible::Text kind) const override;

    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;
};
