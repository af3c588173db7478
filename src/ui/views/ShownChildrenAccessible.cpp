#include "ui/views/ShownChildrenAccessible.h"

#include "ui/base/ViewControllerBase.h"
#include "ui/inspector/PathControlView.h"
#include "ui/views/BackgroundColorView.h"
#include "ui/views/AccessibleInterfaceFactory.h"
#include "ui/views/ToolBar.h"

LW_INSTALL_ACCESSIBLE_AT_START(ShownChildrenAccessible)

ShownChildrenAccessible::ShownChildrenAccessible(ViewControllerBase* controller)
    : QAccessibleWidget(controller)
{
}

ShownChildrenAccessible::ShownChildrenAccessible(ToolBar* toolBar)
    : QAccessibleWidget(toolBar, QAccessible::PageTabList)
{
}

ShownChildrenAccessible::ShownChildrenAccessible(PathControlView* path)
    : QAccessibleWidget(path)
{
}

ShownChildrenAccessible::ShownChildrenAccessible(BackgroundColorView* view)
    : QAccessibleWidget(view)
{
}

void ShownChildrenAccessible::install()
{
    installAccessibleInterface<ShownChildrenAccessible, ViewControllerBase>();
    installAccessibleInterface<ShownChildrenAccessible, ToolBar>();
    installAccessibleInterface<ShownChildrenAccessible, PathControlView>();
    installAccessibleInterface<ShownChildrenAccessible, BackgroundColorView>();
}

QList<QWidget*> ShownChildrenAccessible::shownChildren() const
{
    QList<QWidget*> shown;
    for (QObject* child : widget()->children())
        if (auto* control = qobject_cast<QWidget*>(child); control && !control->isWindow() && !control->isHidden())
            shown.append(control);
    return shown;
}

int ShownChildrenAccessible::childCount() const
{
    return static_cast<int>(shownChildren().size());
}

QAccessibleInterface* ShownChildrenAccessible::child(int index) const
{
    const QList<QWidget*> shown = shownChildren();
    return index >= 0 && index < shown.size() ? QAccessible::queryAccessibleInterface(shown[index]) : nullptr;
}

int ShownChildrenAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    return child ? static_cast<int>(shownChildren().indexOf(qobject_cast<QWidget*>(child->object()))) : -1;
}
