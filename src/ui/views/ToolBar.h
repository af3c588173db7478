#pragma once
// A tool bar that screen readers read without its overflow button while
// everything fits (ShownChildrenAccessible).
#include <QToolBar>

class ToolBar : public QToolBar {
    Q_OBJECT
public:
    explicit ToolBar(QWidget* parent = nullptr);
};
