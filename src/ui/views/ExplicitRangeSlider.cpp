#include "ui/views/ExplicitRangeSlider.h"

#include "texts/FormattedSecondsValueTransformer.h"
#include "ui/views/ExplicitRangeSliderAccessible.h"
#include "ui/views/FocusedWheelFilter.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>

ExplicitRangeSlider::ExplicitRangeSlider(QList<double> stops, const Localizator& localizator, QWidget* parent)
    : QWidget(parent)
    , m_stops(std::move(stops))
    , m_localizator(localizator)
{
    ExplicitRangeSliderAccessible::install();
    // Made once this is an ExplicitRangeSlider, which the slider's
    // accessible interface asks its parent to be.
    m_slider = new QSlider(Qt::Horizontal, this);
    m_valueLabel = new QLabel(this);
    FocusedWheelFilter::guard(m_slider);
    m_slider->setRange(0, int(m_stops.valuesRange().size()) - 1);
    m_slider->setPageStep(1);
    m_slider->setTickPosition(QSlider::TicksBelow);
    m_slider->setTickInterval(1);
    m_valueLabel->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("888 seconds")));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_slider, 1);
    layout->addWidget(m_valueLabel);
    connect(m_slider, &QSlider::valueChanged, this, [this] {
        showValue();
        Q_EMIT valueChanged(value());
    });
    showValue();
}

double ExplicitRangeSlider::value() const
{
    return m_stops.reverseTransformedValue(m_slider->value()).toDouble();
}

void ExplicitRangeSlider::setValue(double value)
{
    const QSignalBlocker blocker(m_slider);
    m_slider->setValue(m_stops.transformedValue(value).toInt());
    showValue();
}

QString ExplicitRangeSlider::valueText() const
{
    return m_valueLabel->text();
}

void ExplicitRangeSlider::showValue()
{
    m_valueLabel->setText(FormattedSecondsValueTransformer(m_localizator).transformedValue(value()).toString());
}
