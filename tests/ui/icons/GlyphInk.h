#pragma once
// What a rendered symbol put on its image: how many pixels it touched, its
// strongest alpha and the colour of its most opaque pixel.
#include <QColor>
#include <QImage>
#include <QPixmap>

struct GlyphInk {
    int inkedPixels = 0;
    int maxAlpha = 0;
    QColor strongestColor;
};

inline GlyphInk glyphInk(const QPixmap& pixmap)
{
    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    GlyphInk ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor color = image.pixelColor(x, y);
            if (color.alpha() == 0)
                continue;
            ++ink.inkedPixels;
            if (color.alpha() > ink.maxAlpha) {
                ink.maxAlpha = color.alpha();
                ink.strongestColor = color;
            }
        }
    }
    return ink;
}
