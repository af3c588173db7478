#pragma once
// The item inspector's table of startup conditions: its rows draw their own
// backgrounds and delimiters, so the table draws no grid.
#include "ui/views/ActionTableView.h"

class ItemInspectorTableView : public ActionTableView {
    Q_OBJECT
public:
    explicit ItemInspectorTableView(QWidget* parent = nullptr);
};
