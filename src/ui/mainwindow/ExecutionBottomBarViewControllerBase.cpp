#include "ui/mainwindow/ExecutionBottomBarViewControllerBase.h"

#include "foundation/Log.h"
#include "foundation/MHExecuteNotifications.h"
#include "foundation/Notification.h"
#include "texts/Localizator.h"
#include "ui/base/PopoverFrame.h"

#include <QToolButton>

ExecutionBottomBarViewControllerBase::ExecutionBottomBarViewControllerBase(QWidget* parent)
    : ViewControllerBase(false, parent)
{
}

ExecutionBottomBarViewControllerBase::~ExecutionBottomBarViewControllerBase() = default;

ExecutionErrorsViewController* ExecutionBottomBarViewControllerBase::errorsViewController()
{
    if (!m_errorsViewController) {
        LOG_DEBUG("Initializing errors view controller due to first access...");
        m_errorsViewController = new ExecutionErrorsViewController(this);
        m_errorsViewController->hide();
        copyCommonObjectsToViewController(*m_errorsViewController);
    }
    return m_errorsViewController;
}

PopoverFrame* ExecutionBottomBarViewControllerBase::errorsInspectorPopover()
{
    if (!m_errorsInspectorPopover) {
        LOG_DEBUG("Initializing errors inspector popover due to first access...");
        m_errorsInspectorPopover = new PopoverFrame(this);
        m_errorsInspectorPopover->setObjectName(QStringLiteral("errorsInspectorPopover"));
        m_errorsInspectorPopover->setWindowTitle(localizator().itemsPageText(Localizator::ItemsPageText::ErrorsList));
        ExecutionErrorsViewController* errors = errorsViewController();
        errors->loadView();
        m_errorsInspectorPopover->setContentWidget(errors);
    }
    return m_errorsInspectorPopover;
}

void ExecutionBottomBarViewControllerBase::setDidLastExecutionFail(bool didFail)
{
    m_didLastExecutionFail = didFail;
    if (m_errorsButton)
        m_errorsButton->setVisible(didFail);
}

void ExecutionBottomBarViewControllerBase::showLastExecutionErrors(QWidget* sender)
{
    LOG_NORMAL("Showing last execution errors...");
    errorsInspectorPopover()->showRelativeTo(sender ? sender : this, PopoverFrame::Edge::Above);
}

void ExecutionBottomBarViewControllerBase::addExecutionErrorFromNotification(const Notification& notification)
{
    LOG_VERBOSE("Adding execution error for item %1...", notification.userInfo.value(MHExecuteNotifications::itemDisplayName).toString());
    errorsViewController()->addExecutionErrorFromNotification(notification);
}

void ExecutionBottomBarViewControllerBase::resetExecutionErrors()
{
    LOG_VERBOSE("Resetting execution errors...");
    errorsViewController()->resetExecutionErrors();
}

QToolButton* ExecutionBottomBarViewControllerBase::makeErrorsButton()
{
    m_errorsButton = new QToolButton(this);
    m_errorsButton->setObjectName(QStringLiteral("errorsButton"));
    m_errorsButton->setAutoRaise(true);
    m_errorsButton->setIcon(QIcon::fromTheme(QStringLiteral("dialog-warning")));
    const QString name = localizator().itemsPageText(Localizator::ItemsPageText::ShowErrors);
    m_errorsButton->setToolTip(name);
    m_errorsButton->setAccessibleName(name);
    m_errorsButton->setVisible(m_didLastExecutionFail);
    connect(m_errorsButton, &QToolButton::clicked, this, [this] { showLastExecutionErrors(m_errorsButton); });
    return m_errorsButton;
}
