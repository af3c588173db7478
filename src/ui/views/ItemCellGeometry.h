#pragma once
// Where the parts of an item row go. A file item's row shows its icon, its
// name with a detail line under it (full rows) or alone (compact rows), its
// condition badges and its action button; the rows of the other kinds show
// a glyph, the name, the badges and the button. While the status display is
// on, a narrow strip sits at the left edge and the content moves right by its
// width; the progress of that slide runs from 0 (no strip) to 1.
#include <QRectF>
#include <QtGlobal>

class ItemCellGeometry {
public:
    static constexpr double StripWidth = 3;
    static constexpr double ActionButtonWidth = 22;
    static constexpr double BadgesHeight = 16;

    struct Input {
        QRectF cell;
        bool isFileItem = true;
        // The setting ItemsListsSize: 0 full rows, anything else compact rows.
        quint64 listSize = 0;
        double stripProgress = 0;
        // The natural sizes of the texts in their fonts.
        double nameWidth = 0;
        double nameHeight = 0;
        double detailWidth = 0;
        double detailHeight = 0;
    };

    struct Frames {
        QRectF strip;
        QRectF icon;
        QRectF name;
        // Empty for the utility kinds.
        QRectF detail;
        QRectF badges;
        QRectF actionButton;
    };

    static bool isCompactListSize(quint64 listSize) { return listSize != 0; }
    static double imageSizeForListSize(quint64 listSize) { return isCompactListSize(listSize) ? 20 : 32; }
    // How far the name's centre sits from the row's centre: raised in full
    // rows to make room for the detail line.
    static double nameOffsetForListSize(quint64 listSize, double nameHeight);

    static Frames layout(const Input& input);
};
