#pragma once
// A cell of the inspector's list of startup conditions. On a selected row its
// labels take the window's background colour to stand out on the highlight;
// fields the user can edit keep their own colours.
#include "ui/views/BackgroundStyle.h"

#include <QWidget>

class StartupConditionCellView : public QWidget {
    Q_OBJECT
public:
    explicit StartupConditionCellView(QWidget* parent = nullptr);

    BackgroundStyle backgroundStyle() const { return m_backgroundStyle; }
    void setBackgroundStyle(BackgroundStyle style);

private:
    // Depth first through every child widget.
    void updateBackgroundStyleForSubviewsOfView(QWidget* view, const QColor& textColor);

    BackgroundStyle m_backgroundStyle = BackgroundStyle::Light;
};
