#include "ui/icons/ColorFromRgba.h"

QColor colorFromRgba(const RgbaColor& color)
{
    return QColor::fromRgbF(float(color.red), float(color.green), float(color.blue), float(color.alpha));
}
