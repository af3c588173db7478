#include "ui/views/FocusedWheelFilter.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QWheelEvent>

void FocusedWheelFilter::guard(QWidget* control)
{
    // One filter serves every control; it lives as long as the application.
    static auto* const filter = new FocusedWheelFilter(QCoreApplication::instance());
    control->setFocusPolicy(Qt::StrongFocus);
    control->installEventFilter(filter);
}

bool FocusedWheelFilter::eventFilter(QObject* watched, QEvent* event)
{
    auto* control = qobject_cast<QWidget*>(watched);
    if (event->type() != QEvent::Wheel || !control || control->hasFocus())
        return QObject::eventFilter(watched, event);
    // The scroll area around the control scrolls instead.
    for (QWidget* parent = control->parentWidget(); parent && !parent->isWindow(); parent = parent->parentWidget()) {
        auto* area = qobject_cast<QAbstractScrollArea*>(parent);
        if (!area)
            continue;
        const auto* wheel = static_cast<QWheelEvent*>(event);
        QWidget* viewport = area->viewport();
        QWheelEvent scrolled(viewport->mapFromGlobal(wheel->globalPosition()), wheel->globalPosition(), wheel->pixelDelta(),
                             wheel->angleDelta(), wheel->buttons(), wheel->modifiers(), wheel->phase(), wheel->inverted(),
                             wheel->source());
        QCoreApplication::sendEvent(viewport, &scrolled);
        break;
    }
    return true;
}
