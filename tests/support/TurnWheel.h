#pragma once
// One turn of the mouse wheel over the middle of a widget, as the window
// system delivers it (steps of 15 degrees; positive turns away from the user).
#include <QApplication>
#include <QWheelEvent>
#include <QWidget>

inline bool turnWheel(QWidget* widget, int steps)
{
    const QPointF local = QRectF(widget->rect()).center();
    QWheelEvent wheel(local, widget->mapToGlobal(local), QPoint(), QPoint(0, steps * 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &wheel);
    return wheel.isAccepted();
}
