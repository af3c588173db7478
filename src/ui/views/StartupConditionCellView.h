#pragma once
// A cell of the inspector's list of startup conditions. On a selected row its
// labels take the window's background colour to stand out on the highlight;
// fields the user can edit keep their own colours. Its usage view, the check
// box that says whether the shown item uses the row's condition, is the
// row's checked state to screen readers (StartupConditionCellAccessible).
#include "ui/views/BackgroundStyle.h"

#include <QAbstractButton>
#include <QPointer>
#include <QWidget>

class StartupConditionCellView : public QWidget {
    Q_OBJECT
public:
    explicit StartupConditionCellView(QWidget* parent = nullptr);

    BackgroundStyle backgroundStyle() const { return m_backgroundStyle; }
    void setBackgroundStyle(BackgroundStyle style);

    QAbstractButton* usageView() const { return m_usageView; }
    // A check box inside the cell; a click on it is announced as the row's
    // change of state.
    void setUsageView(QAbstractButton* usageView);

private:
    // Depth first through every child widget.
    void updateBackgroundStyleForSubviewsOfView(QWidget* view, const QColor& textColor);

    BackgroundStyle m_backgroundStyle = BackgroundStyle::Light;
    QPointer<QAbstractButton> m_usageView;
};
