#pragma once
// A button that shows its bevel only while the pointer is over it.
#include <QToolButton>

class FlatButton : public QToolButton {
    Q_OBJECT
public:
    explicit FlatButton(QWidget* parent = nullptr);
};
