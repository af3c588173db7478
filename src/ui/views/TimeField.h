#pragma once
// A field of a time of day in hours and minutes ("08:30"), turned by the
// wheel only while it has the focus. A screen reader reads its time as the
// text of its value, the minutes since midnight as the value it can set,
// and steps it with Increase and Decrease as the arrows do.
#include <QTimeEdit>

class TimeField : public QTimeEdit {
    Q_OBJECT
public:
    TimeField(const QString& objectName, const QString& accessibleName, QWidget* parent = nullptr);
};
