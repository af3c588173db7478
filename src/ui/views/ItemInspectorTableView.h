#pragma once
// The item inspector's table of startup conditions: its rows draw their own
// backgrounds and delimiters, so the table draws no grid. Tab moves between
// the editors inside the rows, never the selection.
#include "ui/views/ActionTableView.h"

class ItemInspectorTableView : public ActionTableView {
    Q_OBJECT
public:
    explicit ItemInspectorTableView(QWidget* parent = nullptr);
};
