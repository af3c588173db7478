#pragma once
// A tool bar of buttons that choose pages (the preferences panes), which
// screen readers read as a list of page tabs (PageTabAccessible), without
// its overflow button while everything fits (ShownChildrenAccessible).
#include <QToolBar>

class ToolBar : public QToolBar {
    Q_OBJECT
public:
    explicit ToolBar(QWidget* parent = nullptr);
};
