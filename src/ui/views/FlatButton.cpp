#include "ui/views/FlatButton.h"

FlatButton::FlatButton(QWidget* parent)
    : QToolButton(parent)
{
    setAutoRaise(true);
}
