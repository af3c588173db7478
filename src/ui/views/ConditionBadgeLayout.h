#pragma once
// Fits the condition badges of one row into the width of their strip. While
// every badge fits, each keeps the width of its name; otherwise the widest
// badges give way first (never below the widest of the others), then all
// shrink in proportion (never below the minimum width), and what still does
// not fit is cut at the end or hidden.
#include <QList>

class ConditionBadgeLayout {
public:
    struct Metrics {
        double stripWidth = 0;
        double spacing = 0;
        double minItemWidth = 0;
        // A badge counts as wide when it is wider than this fraction of the
        // widest badge.
        double minWidthThreshold = 0;
    };

    // A hidden badge has width 0 and stays at the x where it would start.
    struct Frame {
        double x = 0;
        double width = 0;
        bool isHidden() const { return width == 0; }
        bool operator==(const Frame&) const = default;
    };

    // The width a badge asks for: its name and the padding on both sides.
    static double measuredWidth(double textWidth, double textPadding);

    // One frame per measured width, in the same order. Badges are shown left
    // to right: once one is cut or hidden for lack of room, those after it
    // are hidden too, so the strip always shows the first conditions.
    static QList<Frame> fit(const QList<double>& measuredWidths, const Metrics& metrics);
    // The widths before placement: the measured ones when all fit, else
    // shrunk (a badge may shrink to nothing when the minimum width is 0).
    static QList<double> fittedWidths(const QList<double>& measuredWidths, const Metrics& metrics);

private:
    static double totalWithSpacing(const QList<double>& widths, double spacing);
};
