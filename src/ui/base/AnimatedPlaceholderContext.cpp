#include "ui/base/AnimatedPlaceholderContext.h"

#include "foundation/Log.h"
#include "ui/base/ViewControllerBase.h"

#include <QEvent>
#include <QParallelAnimationGroup>
#include <QPropertyAnimation>

AnimatedPlaceholderContext::AnimatedPlaceholderContext(QWidget* placeholderView, QObject* parent)
    : PlaceholderControllerContext(placeholderView, parent)
{
    if (placeholderView)
        placeholderView->installEventFilter(this);
}

AnimatedPlaceholderContext::~AnimatedPlaceholderContext()
{
    // Nothing may run once the owner is going away.
    m_completion = nullptr;
    finishSlide();
}

void AnimatedPlaceholderContext::replaceViewControllerWith(ViewControllerBase* controller)
{
    finishSlide();
    PlaceholderControllerContext::replaceViewControllerWith(controller, [this](QWidget*, QWidget* outgoing, QWidget* incoming) {
        if (outgoing) {
            LOG_DEBUG("Removing current view...");
            removeView(outgoing);
        }
        if (incoming) {
            LOG_DEBUG("Adding new view...");
            addView(incoming);
        }
    });
}

void AnimatedPlaceholderContext::slideViewControllerFromLeft(ViewControllerBase* controller, Completion completion)
{
    slide(controller, QPoint(-placeholderView()->width(), 0), std::move(completion));
}

void AnimatedPlaceholderContext::slideViewControllerFromRight(ViewControllerBase* controller, Completion completion)
{
    slide(controller, QPoint(placeholderView()->width(), 0), std::move(completion));
}

void AnimatedPlaceholderContext::slideViewControllerFromTop(ViewControllerBase* controller, Completion completion)
{
    slide(controller, QPoint(0, -placeholderView()->height()), std::move(completion));
}

void AnimatedPlaceholderContext::slideViewControllerFromBottom(ViewControllerBase* controller, Completion completion)
{
    slide(controller, QPoint(0, placeholderView()->height()), std::move(completion));
}

bool AnimatedPlaceholderContext::isSliding() const
{
    return m_animation != nullptr;
}

void AnimatedPlaceholderContext::slide(ViewControllerBase* controller, QPoint incomingStart, Completion completion)
{
    finishSlide();
    PlaceholderControllerContext::replaceViewControllerWith(
        controller, [&](QWidget*, QWidget* outgoing, QWidget* incoming) {
            if (completion)
                LOG_DEBUG("Adding completion block for view controller %1...", controller ? controller->objectName() : QStringLiteral("(null)"));
            m_completion = std::move(completion);
            m_slidingOut = outgoing;
            m_animation = new QParallelAnimationGroup(this);
            const auto move = [this](QWidget* view, QPoint from, QPoint to) {
                auto* animation = new QPropertyAnimation(view, "pos", m_animation);
                animation->setStartValue(from);
                animation->setEndValue(to);
                animation->setDuration(SlideDurationMs);
                animation->setEasingCurve(QEasingCurve::InOutQuad);
            };
            if (outgoing)
                move(outgoing, outgoing->pos(), -incomingStart);
            if (incoming) {
                addView(incoming);
                incoming->move(incomingStart);
                move(incoming, incomingStart, QPoint(0, 0));
            }
            connect(m_animation, &QAbstractAnimation::finished, this, &AnimatedPlaceholderContext::endSlide);
            m_animation->start();
        });
}

void AnimatedPlaceholderContext::finishSlide()
{
    if (!m_animation)
        return;
    m_animation->disconnect(this);
    m_animation->stop();
    endSlide();
}

void AnimatedPlaceholderContext::endSlide()
{
    LOG_DEBUG("Animation did stop, removing old subview and invoking completion block...");
    if (m_animation) {
        m_animation->deleteLater();
        m_animation = nullptr;
    }
    if (m_slidingOut)
        removeView(m_slidingOut);
    m_slidingOut = nullptr;
    if (QWidget* current = currentViewController(); current && placeholderView())
        current->setGeometry(placeholderView()->rect());
    const Completion completion = std::move(m_completion);
    m_completion = nullptr;
    if (completion)
        completion();
}

bool AnimatedPlaceholderContext::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize && watched == placeholderView() && !isSliding()) {
        if (QWidget* current = currentViewController(); current && current->parentWidget() == placeholderView())
            current->setGeometry(placeholderView()->rect());
    }
    return PlaceholderControllerContext::eventFilter(watched, event);
}
