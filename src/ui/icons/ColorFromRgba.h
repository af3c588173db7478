#pragma once
// The one way a colour of the settings becomes a colour of the windows.
#include "foundation/RgbaColor.h"

#include <QColor>

QColor colorFromRgba(const RgbaColor& color);
