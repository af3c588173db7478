#pragma once
// A table whose only column always spans the visible width, so a one-column
// list never scrolls sideways.
#include <QTableView>

class ResizingTableView : public QTableView {
    Q_OBJECT
public:
    explicit ResizingTableView(QWidget* parent = nullptr);

protected:
    // Also called when the viewport alone changes size (a scroll bar comes or goes).
    void resizeEvent(QResizeEvent* event) override;
};
