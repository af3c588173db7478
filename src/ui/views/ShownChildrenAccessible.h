#pragma once
// What a screen reader finds in a view controller, a ToolBar, a breadcrumb
// or a coloured header: only the controls it shows. Qt's own interfaces list
// hidden children too (a schedule time's delete button while it is the only
// time, the name field while the name is shown, a tool bar's overflow button
// while everything fits, the folders a breadcrumb elides, a header's message
// while there is none), which screen readers then offer as if they were there.
#include <QAccessibleWidget>

class BackgroundColorView;
class PathControlView;
class ToolBar;
class ViewControllerBase;

class ShownChildrenAccessible : public QAccessibleWidget {
public:
    explicit ShownChildrenAccessible(ViewControllerBase* controller);
    explicit ShownChildrenAccessible(ToolBar* toolBar);
    explicit ShownChildrenAccessible(PathControlView* path);
    explicit ShownChildrenAccessible(BackgroundColorView* view);

    // Makes the interface the one of every view controller, ToolBar,
    // PathControlView and BackgroundColorView.
    static void install();

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;

private:
    QList<QWidget*> shownChildren() const;
};
