#pragma once
// The dotted 1-pixel rules between rows and sections: dashes and gaps of
// `dash` pixels, starting with a dash at `left`. Give y at a pixel's centre
// (n + 0.5) for a sharp line.
#include <QColor>

class QPainter;

void drawDelimiterLine(QPainter& painter, qreal left, qreal right, qreal y, const QColor& color, qreal dash);
