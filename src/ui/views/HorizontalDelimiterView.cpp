#include "ui/views/HorizontalDelimiterView.h"

#include "foundation/UserDefaults.h"
#include "ui/icons/ColorFromRgba.h"
#include "ui/views/DelimiterLine.h"

#include <QPainter>

HorizontalDelimiterView::HorizontalDelimiterView(QWidget* parent)
    : QWidget(parent)
{
}

QColor HorizontalDelimiterView::delimiterColor() const
{
    if (!m_delimiterColor)
        m_delimiterColor = colorFromRgba(userDefaults().itemInspectorItemsTableDelimiterColor());
    return *m_delimiterColor;
}

void HorizontalDelimiterView::setDelimiterColor(const QColor& color)
{
    m_delimiterColor = color;
    update();
}

void HorizontalDelimiterView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // The pixel row at half the height, not the edge between two rows.
    const qreal y = height() / 2 + 0.5;
    drawDelimiterLine(painter, 0, width(), y, delimiterColor(), 2);
}
