#pragma once
// What the default and the auto-close bars share: the errors of the last run,
// kept from the start of one run to the start of the next, and a button that
// shows them in a popover while the last run has a failure.
#include "ui/base/ViewControllerBase.h"
#include "ui/mainwindow/ExecutionErrorsViewController.h"

struct Notification;
class PopoverFrame;
class QToolButton;

class ExecutionBottomBarViewControllerBase : public ViewControllerBase {
    Q_OBJECT
public:
    explicit ExecutionBottomBarViewControllerBase(QWidget* parent = nullptr);
    ~ExecutionBottomBarViewControllerBase() override;

    // A bar that slides in leaves the keyboard focus where it is.
    void makeFirstResponder() override {}

    // Made on first use, with this bar's common objects.
    ExecutionErrorsViewController* errorsViewController();
    PopoverFrame* errorsInspectorPopover();

    bool didLastExecutionFail() const { return m_didLastExecutionFail; }
    void setDidLastExecutionFail(bool didFail);

    void showLastExecutionErrors(QWidget* sender);
    void addExecutionErrorFromNotification(const Notification& notification);
    void resetExecutionErrors();

    QToolButton* errorsButton() const { return m_errorsButton; }

protected:
    // The errors button, for the subclass's layout.
    QToolButton* makeErrorsButton();

private:
    bool m_didLastExecutionFail = false;
    ExecutionErrorsViewController* m_errorsViewController = nullptr;
    PopoverFrame* m_errorsInspectorPopover = nullptr;
    QToolButton* m_errorsButton = nullptr;
};
