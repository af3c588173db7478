#pragma once
// The day and time of a simulated login, in a popover of the simulation bar.
#include "ui/base/ViewControllerBase.h"

#include <QDateTime>

class ChoicePopUpButton;
class QTimeEdit;

class SimulateScheduleDataBottomBarViewController : public ViewControllerBase {
    Q_OBJECT
public:
    explicit SimulateScheduleDataBottomBarViewController(QWidget* parent = nullptr);

    // 0 Monday ... 6 Sunday.
    int simulatedDay() const { return m_simulatedDay; }
    void setSimulatedDay(int day);
    // Minute of the day.
    int simulatedTime() const { return m_simulatedTime; }
    void setSimulatedTime(int minute);

    void notifyDelegate() { calculateDateAndNotifyDelegate(); }

Q_SIGNALS:
    void dateChanged(const QDateTime& date);

protected:
    void awakeFromNib() override;

private:
    void calculateDateAndNotifyDelegate();

    int m_simulatedDay = 0;
    int m_simulatedTime = 0;
    ChoicePopUpButton* m_dayChooser = nullptr;
    QTimeEdit* m_timeEdit = nullptr;
};
