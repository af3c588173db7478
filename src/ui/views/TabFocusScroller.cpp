#include "ui/views/TabFocusScroller.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFocusEvent>
#include <QScrollBar>
#include <algorithm>

namespace {

// How far to scroll so that [low, high] of a viewport of extent becomes
// visible, the start first when it cannot all be.
int scrollDelta(int low, int high, int extent)
{
    if (low < 0)
        return low;
    if (high >= extent)
        return std::min(high - extent + 1, low);
    return 0;
}

} // namespace

void TabFocusScroller::install()
{
    // One filter for the application's life.
    [[maybe_unused]] static const bool installed = [] {
        QCoreApplication* application = QCoreApplication::instance();
        application->installEventFilter(new TabFocusScroller(application));
        return true;
    }();
}

void TabFocusScroller::scrollIntoView(QWidget& control)
{
    for (QWidget* parent = control.parentWidget(); parent && !parent->isWindow(); parent = parent->parentWidget()) {
        auto* area = qobject_cast<QAbstractScrollArea*>(parent);
        QWidget* viewport = area ? area->viewport() : nullptr;
        if (!viewport || !viewport->isAncestorOf(&control))
            continue;
        const QRect rect(control.mapTo(viewport, QPoint()), control.size());
        auto* list = qobject_cast<QAbstractItemView*>(area);
        // A list that scrolls by rows scrolls to the control's row.
        if (list && list->verticalScrollMode() == QAbstractItemView::ScrollPerItem) {
            list->scrollTo(list->indexAt(rect.center()));
            continue;
        }
        QScrollBar* vertical = area->verticalScrollBar();
        vertical->setValue(vertical->value() + scrollDelta(rect.top(), rect.bottom(), viewport->height()));
        QScrollBar* horizontal = area->horizontalScrollBar();
        horizontal->setValue(horizontal->value() + scrollDelta(rect.left(), rect.right(), viewport->width()));
    }
}

bool TabFocusScroller::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn && watched->isWidgetType()) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason)
            scrollIntoView(*static_cast<QWidget*>(watched));
    }
    return QObject::eventFilter(watched, event);
}
