#pragma once
// A placeholder context that slides the new child in from one side while the
// old one leaves by the other, then takes the old view out and runs the
// slide's completion. A new swap first finishes a running slide (its
// completion still runs, once). The child fills the placeholder.
#include "ui/base/PlaceholderControllerContext.h"

#include <QPoint>

class QParallelAnimationGroup;

class AnimatedPlaceholderContext : public PlaceholderControllerContext {
    Q_OBJECT
public:
    using Completion = std::function<void()>;
    static constexpr int SlideDurationMs = 250;

    explicit AnimatedPlaceholderContext(QWidget* placeholderView, QObject* parent = nullptr);
    ~AnimatedPlaceholderContext() override;

    // Without animation.
    void replaceViewControllerWith(ViewControllerBase* controller);
    void slideViewControllerFromLeft(ViewControllerBase* controller, Completion completion = {});
    void slideViewControllerFromRight(ViewControllerBase* controller, Completion completion = {});
    void slideViewControllerFromTop(ViewControllerBase* controller, Completion completion = {});
    void slideViewControllerFromBottom(ViewControllerBase* controller, Completion completion = {});

    bool isSliding() const;
    // Ends a running slide at once, as if its animation had reached its end.
    void finishSlide();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Where the incoming view starts, for a placeholder of the given size;
    // the outgoing view ends at the opposite offset.
    void slide(ViewControllerBase* controller, QPoint incomingStart, Completion completion);
    void endSlide();

    QParallelAnimationGroup* m_animation = nullptr;
    QPointer<QWidget> m_slidingOut;
    Completion m_completion;
};
