#include "ui/views/ConditionBadgeLayout.h"

#include <algorithm>
#include <cmath>

double ConditionBadgeLayout::measuredWidth(double textWidth, double textPadding)
{
    return std::ceil(std::max(textWidth, 0.0) + 2 * textPadding);
}

double ConditionBadgeLayout::totalWithSpacing(const QList<double>& widths, double spacing)
{
    double total = 0;
    for (double width : widths)
        total += width + spacing;
    return total;
}

QList<double> ConditionBadgeLayout::fittedWidths(const QList<double>& widths, const Metrics& metrics)
{
    const double stripWidth = std::max(metrics.stripWidth, 0.0);
    if (widths.isEmpty() || totalWithSpacing(widths, metrics.spacing) <= stripWidth)
        return widths;

    const double widest = *std::max_element(widths.cbegin(), widths.cend());
    const double cut = std::ceil(metrics.minWidthThreshold * widest);
    double wideSum = 0;
    double narrowSum = 0;
    double narrowMax = 0;
    for (double width : widths) {
        if (width > cut) {
            wideSum += width;
        } else {
            narrowSum += width;
            narrowMax = std::max(narrowMax, width);
        }
    }

    // The wide badges share what the narrow ones leave, one point per badge kept aside.
    const double available = stripWidth - narrowSum - widths.size();
    QList<double> result = widths;
    for (double& width : result) {
        // Only wide badges are wider than every narrow one, so wideSum > 0 here.
        if (width > narrowMax)
            width = std::max(std::ceil(width * available / wideSum) - 1, narrowMax);
    }

    const double newTotal = totalWithSpacing(result, metrics.spacing);
    if (newTotal > stripWidth) {
        for (double& width : result)
            width = std::max(std::ceil(width * stripWidth / newTotal) - 1, metrics.minItemWidth);
    }
    return result;
}

QList<ConditionBadgeLayout::Frame> ConditionBadgeLayout::fit(const QList<double>& measuredWidths, const Metrics& metrics)
{
    const double stripWidth = std::max(metrics.stripWidth, 0.0);
    QList<Frame> frames;
    frames.reserve(measuredWidths.size());
    double x = 0;
    bool isOutOfRoom = false;
    for (double width : fittedWidths(measuredWidths, metrics)) {
        width = std::max(width, 0.0);
        if (isOutOfRoom) {
            width = 0;
        } else if (x + width > stripWidth) {
            isOutOfRoom = true;
            width = std::max(stripWidth - x, 0.0);
            if (width <= metrics.minItemWidth)
                width = 0;
        }
        frames.append({ std::min(x, stripWidth), width });
        if (width > 0)
            x += width + metrics.spacing;
    }
    return frames;
}
