#include "ui/views/WindowTitleAnnouncer.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

void WindowTitleAnnouncer::install()
{
    QCoreApplication* application = QCoreApplication::instance();
    if (application && !application->findChild<WindowTitleAnnouncer*>(QString(), Qt::FindDirectChildrenOnly))
        application->installEventFilter(new WindowTitleAnnouncer(application));
}

bool WindowTitleAnnouncer::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::WindowTitleChange && watched->isWidgetType()) {
        auto* window = static_cast<QWidget*>(watched);
        if (window->isWindow()) {
            QAccessibleEvent nameChange(window, QAccessible::NameChanged);
            QAccessible::updateAccessibility(&nameChange);
        }
    }
    return QObject::eventFilter(watched, event);
}
