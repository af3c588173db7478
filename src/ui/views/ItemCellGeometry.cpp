#include "ui/views/ItemCellGeometry.h"

#include <algorithm>

namespace {

QRectF centredVertically(double left, double width, double height, double centreY)
{
    return { left, centreY - height / 2, std::max(width, 0.0), height };
}

} // namespace

double ItemCellGeometry::nameOffsetForListSize(quint64 listSize, double nameHeight)
{
    return isCompactListSize(listSize) ? 0 : -nameHeight / 2 + 2;
}

ItemCellGeometry::Frames ItemCellGeometry::layout(const Input& input)
{
    const QRectF& cell = input.cell;
    const double progress = std::clamp(input.stripProgress, 0.0, 1.0);
    const double centreY = cell.center().y();
    Frames frames;

    frames.strip = QRectF(cell.left() - StripWidth + progress * StripWidth, cell.top(), StripWidth, cell.height());
    frames.actionButton = centredVertically(cell.right() - 2 - ActionButtonWidth, ActionButtonWidth, ActionButtonWidth, centreY);
    const double badgesRight = frames.actionButton.left() - 2;

    const double iconLeftMargin = input.isFileItem ? 4 : 8;
    const double iconSize = input.isFileItem ? imageSizeForListSize(input.listSize) : 16;
    frames.icon = centredVertically(cell.left() + iconLeftMargin + progress * StripWidth, iconSize, iconSize, centreY);

    // The name keeps its natural width unless the badges, squeezed to nothing, still leave too little room.
    const double nameLeft = frames.icon.right() + 4;
    const double nameWidth = std::min(input.nameWidth, badgesRight - 8 - nameLeft);
    const double nameOffset = input.isFileItem ? nameOffsetForListSize(input.listSize, input.nameHeight) : 0;
    frames.name = centredVertically(nameLeft, nameWidth, input.nameHeight, centreY + nameOffset);

    double badgesLeft = frames.name.right() + 8;
    if (input.isFileItem) {
        const double detailWidth = std::min(input.detailWidth, badgesRight - 4 - nameLeft);
        frames.detail = centredVertically(nameLeft, detailWidth, input.detailHeight, centreY + input.detailHeight / 2 + 2);
        // An invisible detail line (compact rows) does not push the badges.
        if (!isCompactListSize(input.listSize))
            badgesLeft = std::max(badgesLeft, frames.detail.right() + 4);
    }
    badgesLeft = std::min(badgesLeft, badgesRight);
    frames.badges = centredVertically(badgesLeft, badgesRight - badgesLeft, BadgesHeight, centreY);
    return frames;
}
