#pragma once
// A slider with one stop per allowed value of a setting, and the chosen
// value as a time text beside it. Values between stops (a hand-edited
// setting) show at the nearest stop.
#include "foundation/ExplicitRangeValueTransformer.h"

#include <QWidget>

class Localizator;
class QLabel;
class QSlider;

class ExplicitRangeSlider : public QWidget {
    Q_OBJECT
public:
    // localizator must outlive the slider.
    ExplicitRangeSlider(QList<double> stops, const Localizator& localizator, QWidget* parent = nullptr);

    double value() const;
    // Moves the slider without emitting valueChanged.
    void setValue(double value);
    QSlider* slider() const { return m_slider; }
    QString valueText() const;

Q_SIGNALS:
    // The user moved the slider to another stop.
    void valueChanged(double value);

private:
    void showValue();

    const ExplicitRangeValueTransformer m_stops;
    const Localizator& m_localizator;
    QSlider* m_slider = nullptr;
    QLabel* m_valueLabel = nullptr;
};
