#include "ui/icons/LanternwickStyleKit.h"

#include <QPainter>
#include <QPainterPath>

void LanternwickStyleKit::drawStartupConditionWithFrame(QPainter& painter, const QRectF& frame,
                                                        const QColor& backgroundColor, const QColor& frameColor)
{
    QPainterPath badge;
    badge.addRoundedRect(frame.adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(badge, backgroundColor);
    painter.strokePath(badge, QPen(frameColor, 1));
    painter.restore();
}
