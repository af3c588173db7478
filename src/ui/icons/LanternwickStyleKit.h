#pragma once
// Shapes drawn in code rather than taken from images.
#include <QColor>
#include <QRectF>

class QPainter;

class LanternwickStyleKit {
public:
    // The rounded badge behind a startup condition's name: the frame inset by
    // half a pixel so that its 1-pixel outline falls on whole pixels.
    // Leaves the painter's state as it found it.
    static void drawStartupConditionWithFrame(QPainter& painter, const QRectF& frame, const QColor& backgroundColor,
                                              const QColor& frameColor);
};
