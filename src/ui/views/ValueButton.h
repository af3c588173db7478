#pragma once
// A flat button that shows a value ("Mon 00:00", the volumes mounted) and
// opens the controls that change it. Screen readers read it by its
// accessible name, what it sets ("Day"), with the shown text as its value.
#include <QToolButton>

class ValueButton : public QToolButton {
    Q_OBJECT
public:
    explicit ValueButton(QWidget* parent = nullptr);
};
