#include "ui/mainwindow/SimulateScheduleDataBottomBarViewController.h"

#include "foundation/Log.h"
#include "texts/Localizator.h"
#include "ui/mainwindow/SimulationInputs.h"
#include "ui/views/ChoicePopUpButton.h"
#include "ui/views/TimeField.h"

#include <QFormLayout>
#include <QLocale>
#include <QSignalBlocker>
#include <QTimeEdit>
#include <algorithm>

SimulateScheduleDataBottomBarViewController::SimulateScheduleDataBottomBarViewController(QWidget* parent)
    : ViewControllerBase(false, parent)
{
    setObjectName(QStringLiteral("simulateScheduleData"));
}

void SimulateScheduleDataBottomBarViewController::awakeFromNib()
{
    auto* layout = new QFormLayout(this);
    m_dayChooser = new ChoicePopUpButton(QStringLiteral("simulatedDay"), localizator().itemsPageText(Localizator::ItemsPageText::SimulatedDay),
                                         this);
    // Monday first, as the schedule conditions count.
    for (int day = Qt::Monday; day <= Qt::Sunday; ++day)
        m_dayChooser->addChoice(QLocale().dayName(day), day - Qt::Monday);
    m_dayChooser->showValue(m_simulatedDay);
    connect(m_dayChooser, &ChoicePopUpButton::valueChosen, this, [this](const QVariant& day) { setSimulatedDay(day.toInt()); });
    layout->addRow(localizator().itemsPageText(Localizator::ItemsPageText::SimulatedDay), m_dayChooser);

    m_timeEdit = new TimeField(QStringLiteral("simulatedTime"), localizator().itemsPageText(Localizator::ItemsPageText::SimulatedTime), this);
    m_timeEdit->setTime(QTime(m_simulatedTime / 60, m_simulatedTime % 60));
    connect(m_timeEdit, &QTimeEdit::timeChanged, this,
            [this](const QTime& time) { setSimulatedTime(time.hour() * 60 + time.minute()); });
    layout->addRow(localizator().itemsPageText(Localizator::ItemsPageText::SimulatedTime), m_timeEdit);
}

void SimulateScheduleDataBottomBarViewController::setSimulatedDay(int day)
{
    LOG_NORMAL("Changing simulated day to %1...", day);
    m_simulatedDay = std::clamp(day, 0, SimulationInputs::DaysInWeek - 1);
    if (m_dayChooser)
        m_dayChooser->showValue(m_simulatedDay);
    calculateDateAndNotifyDelegate();
}

void SimulateScheduleDataBottomBarViewController::setSimulatedTime(int minute)
{
    LOG_NORMAL("Changing simulated minute to %1...", minute);
    m_simulatedTime = std::clamp(minute, 0, SimulationInputs::MinutesInDay - 1);
    // Written back only when the field shows another time: rewriting it
    // while the user types would throw the typed digits away.
    if (const QTime time(m_simulatedTime / 60, m_simulatedTime % 60); m_timeEdit && m_timeEdit->time() != time) {
        const QSignalBlocker blocker(m_timeEdit);
        m_timeEdit->setTime(time);
    }
    calculateDateAndNotifyDelegate();
}

void SimulateScheduleDataBottomBarViewController::calculateDateAndNotifyDelegate()
{
    Q_EMIT dateChanged(SimulationInputs::simulatedDate(QDateTime::currentDateTime(), m_simulatedDay, m_simulatedTime,
                                                       QTimeZone::systemTimeZone()));
}
