#include "ui/views/DelimiterLine.h"

#include <QPainter>

void drawDelimiterLine(QPainter& painter, qreal left, qreal right, qreal y, const QColor& color, qreal dash)
{
    // Flat caps: square ones would lengthen every dash by the pen width.
    QPen pen(color, 1, Qt::CustomDashLine, Qt::FlatCap);
    pen.setDashPattern({ dash, dash, dash, dash });
    pen.setDashOffset(0);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(pen);
    painter.drawLine(QPointF(left, y), QPointF(right, y));
    painter.restore();
}
