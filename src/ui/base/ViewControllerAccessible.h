#pragma once
// What a screen reader finds in a view controller: only the controls it
// shows. Qt's own interface lists hidden children too (a schedule time's
// delete button while it is the only time, the name field while the name is
// shown), which screen readers then offer as if they were there.
#include <QAccessibleWidget>

class ViewControllerBase;

class ViewControllerAccessible : public QAccessibleWidget {
public:
    explicit ViewControllerAccessible(ViewControllerBase* controller);

    // Makes the interface the one of every view controller.
    static void install();

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;

private:
    QList<QWidget*> shownChildren() const;
};
