#pragma once
// Keeps the mouse wheel from changing a value the user did not mean to
// change. A guarded control (pop-up button, spin box, time field, slider)
// takes the keyboard focus only by click or Tab, and turns with the wheel
// only while it has that focus; otherwise the wheel scrolls the list or pane
// the control sits in, as it would over any other part of it.
#include <QObject>

class QWidget;

class FocusedWheelFilter : public QObject {
    Q_OBJECT
public:
    static void guard(QWidget* control);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using QObject::QObject;
};
