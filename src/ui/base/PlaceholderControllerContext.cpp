#include "ui/base/PlaceholderControllerContext.h"

#include "foundation/Log.h"
#include "ui/base/ViewControllerBase.h"

PlaceholderControllerContext::PlaceholderControllerContext(QWidget* placeholderView, QObject* parent)
    : QObject(parent)
    , m_placeholderView(placeholderView)
{
    LOG_DEBUG("Initializing with placeholder %1...", placeholderView ? placeholderView->objectName() : QString());
}

PlaceholderControllerContext::~PlaceholderControllerContext()
{
    // The placeholder would otherwise delete a view its owner still holds.
    if (m_current && m_placeholderView && m_current->parentWidget() == m_placeholderView)
        removeView(m_current);
}

ViewControllerBase* PlaceholderControllerContext::currentViewController() const
{
    return m_current;
}

QString PlaceholderControllerContext::logDescription() const
{
    return QStringLiteral("%1 (%2)").arg(QString::fromUtf8(metaObject()->className()),
                                         m_placeholderView ? m_placeholderView->objectName() : QString());
}

void PlaceholderControllerContext::setCurrentViewController(ViewControllerBase* controller)
{
    replaceViewControllerWith(controller, [this](QWidget*, QWidget* outgoing, QWidget* incoming) {
        if (outgoing)
            removeView(outgoing);
        if (incoming)
            addView(incoming);
    });
}

void PlaceholderControllerContext::replaceViewControllerWith(ViewControllerBase* controller, const SwapBlock& block)
{
    if (controller == m_current)
        return;
    LOG_DEBUG("Changing view controller to %1...", controller ? controller->objectName() : QStringLiteral("(null)"));
    Q_EMIT currentViewControllerWillChange();
    ViewControllerBase* outgoing = m_current;
    if (outgoing) {
        outgoing->viewControllerWillResignActive();
        outgoing->setParentController(nullptr);
    }
    m_current = controller;
    if (controller)
        controller->loadView();
    // The outgoing controller's own view, only when it is still here.
    QWidget* outgoingView = outgoing && outgoing->parentWidget() == m_placeholderView ? outgoing : nullptr;
    block(m_placeholderView, outgoingView, controller);
    if (controller) {
        controller->makeFirstResponder();
        controller->setParentController(this);
        controller->viewControllerDidBecomeActive();
    }
    Q_EMIT currentViewControllerChanged(controller);
}

void PlaceholderControllerContext::removeView(QWidget* view)
{
    view->hide();
    view->setParent(nullptr);
}

void PlaceholderControllerContext::addView(QWidget* view)
{
    view->setParent(m_placeholderView);
    view->setGeometry(m_placeholderView->rect());
    view->show();
}
