// The decision tables of an item row (background, status strip, dimming) and
// where the parts of a row go.
#include "model/ModelEnumerations.h"
#include "ui/views/ItemCellGeometry.h"
#include "ui/views/ItemRowAppearance.h"

#include <gtest/gtest.h>

namespace {

using State = ItemRowAppearance::State;
using Background = ItemRowAppearance::Background;
using Strip = ItemRowAppearance::Strip;

constexpr std::optional<uint32_t> Unjudged = std::nullopt;
constexpr std::optional<uint32_t> Allowed = LastExecutionStatusAllowed;
constexpr std::optional<uint32_t> ByItem = LastExecutionStatusPreventedByItem;
constexpr std::optional<uint32_t> ByConditions = LastExecutionStatusPreventedByConditions;
constexpr std::optional<uint32_t> ByNeighbors = LastExecutionStatusPreventedByNeighbors;

struct Row {
    const char* what;
    State state;
    Background background;
    Strip strip;
    double alpha;
};

// file, odd row, display on, executing, ran, status
State state(bool file, bool odd, bool display, bool executing, bool ran, std::optional<uint32_t> status)
{
    return { file, odd, display, executing, ran, status };
}

TEST(ItemRowAppearanceTest, BackgroundStripAndAlphaFollowTheTable)
{
    const Row rows[] = {
        { "normal file row", state(true, false, false, false, false, Unjudged), Background::None, Strip::Hidden, 1 },
        { "odd file row", state(true, true, false, false, false, Unjudged), Background::AlternateStripe, Strip::Hidden, 1 },
        { "odd delay row never striped", state(false, true, false, false, false, Unjudged), Background::None, Strip::Hidden, 1 },
        { "stale prevented status without display", state(true, true, false, false, false, ByConditions), Background::AlternateStripe, Strip::Hidden, 1 },
        { "executing outside the display", state(true, true, false, true, true, Unjudged), Background::Executing, Strip::Hidden, 1 },
        { "would run", state(true, true, true, false, false, Allowed), Background::None, Strip::Allowed, 1 },
        { "prevented by item", state(true, false, true, false, false, ByItem), Background::Prevented, Strip::Prevented, 0.4 },
        { "prevented by conditions, utility", state(false, false, true, false, false, ByConditions), Background::Prevented, Strip::Prevented, 0.4 },
        { "prevented by neighbours", state(true, true, true, false, false, ByNeighbors), Background::Prevented, Strip::Prevented, 0.4 },
        { "not judged yet", state(true, true, true, false, false, Unjudged), Background::None, Strip::Clear, 1 },
        { "unknown status", state(true, false, true, false, false, 9u), Background::None, Strip::Clear, 1 },
        { "executing with display", state(true, false, true, true, true, Allowed), Background::Executing, Strip::Allowed, 1 },
        { "executing though judged prevented", state(true, false, true, true, true, ByConditions), Background::Executing, Strip::Prevented, 1 },
        { "ran in this run", state(true, false, true, false, true, Allowed), Background::None, Strip::Clear, 1 },
        { "ran, now judged prevented", state(true, false, true, false, true, ByConditions), Background::Prevented, Strip::Clear, 0.4 },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(ItemRowAppearance::background(row.state), row.background);
        EXPECT_EQ(ItemRowAppearance::strip(row.state), row.strip);
        EXPECT_DOUBLE_EQ(ItemRowAppearance::contentAlpha(row.state, 0.4), row.alpha);
        EXPECT_EQ(ItemRowAppearance::isDimmed(row.state), row.alpha != 1);
    }
}

TEST(ItemRowAppearanceTest, DetailLineOnlyInFullRows)
{
    const State prevented = state(true, false, true, false, false, ByConditions);
    EXPECT_DOUBLE_EQ(ItemRowAppearance::detailAlpha(prevented, 0.4, 0), 0.4);
    EXPECT_DOUBLE_EQ(ItemRowAppearance::detailAlpha(State {}, 0.4, 0), 1);
    for (quint64 compact : { 1, 2, 7 }) {
        EXPECT_DOUBLE_EQ(ItemRowAppearance::detailAlpha(State {}, 0.4, compact), 0);
        // An item that stops executing does not bring it back.
        EXPECT_DOUBLE_EQ(ItemRowAppearance::detailAlpha(state(true, false, true, false, true, Allowed), 0.4, compact), 0);
    }
}

ItemCellGeometry::Input fileRow(quint64 size, double progress = 0)
{
    ItemCellGeometry::Input input;
    input.cell = QRectF(0, 0, 400, 56);
    input.listSize = size;
    input.stripProgress = progress;
    input.nameWidth = 100;
    input.nameHeight = 16;
    input.detailWidth = 150;
    input.detailHeight = 14;
    return input;
}

TEST(ItemCellGeometryTest, FullAndCompactFileRows)
{
    const ItemCellGeometry::Frames full = ItemCellGeometry::layout(fileRow(0));
    EXPECT_EQ(full.icon, QRectF(4, 12, 32, 32));
    EXPECT_EQ(full.actionButton, QRectF(376, 17, 22, 22));
    // The name is raised above the centre and the detail line sits under it.
    EXPECT_EQ(full.name, QRectF(40, 28 - 6 - 8, 100, 16));
    EXPECT_EQ(full.detail, QRectF(40, 28 + 9 - 7, 150, 14));
    EXPECT_LE(full.name.bottom(), full.detail.top());
    // The badges start after the longer of the two texts and end before the button.
    EXPECT_EQ(full.badges, QRectF(194, 20, 374 - 194, 16));

    const ItemCellGeometry::Frames compact = ItemCellGeometry::layout(fileRow(1));
    EXPECT_EQ(compact.icon, QRectF(4, 18, 20, 20));
    EXPECT_EQ(compact.name.center().y(), 28);
    // The invisible detail line no longer pushes the badges.
    EXPECT_EQ(compact.badges.left(), compact.name.right() + 8);
}

TEST(ItemCellGeometryTest, TheStripSlidesInAndTheContentMovesAside)
{
    const ItemCellGeometry::Frames hidden = ItemCellGeometry::layout(fileRow(0, 0));
    const ItemCellGeometry::Frames shown = ItemCellGeometry::layout(fileRow(0, 1));
    EXPECT_EQ(hidden.strip, QRectF(-3, 0, 3, 56));
    EXPECT_EQ(shown.strip, QRectF(0, 0, 3, 56));
    EXPECT_EQ(shown.icon.left() - hidden.icon.left(), ItemCellGeometry::StripWidth);
    EXPECT_EQ(shown.actionButton, hidden.actionButton);
    EXPECT_EQ(ItemCellGeometry::layout(fileRow(0, 7)).strip, shown.strip);
}

TEST(ItemCellGeometryTest, UtilityRowsAndNarrowRows)
{
    ItemCellGeometry::Input utility = fileRow(0);
    utility.isFileItem = false;
    utility.cell = QRectF(0, 100, 400, 28);
    const ItemCellGeometry::Frames frames = ItemCellGeometry::layout(utility);
    EXPECT_EQ(frames.icon, QRectF(8, 106, 16, 16));
    EXPECT_EQ(frames.name.center().y(), 114);
    EXPECT_TRUE(frames.detail.isNull());
    EXPECT_EQ(frames.badges.left(), frames.name.right() + 8);

    // A long name squeezes the badges to nothing, then is cut itself; nothing
    // reaches past the button.
    ItemCellGeometry::Input narrow = fileRow(0);
    narrow.cell = QRectF(0, 0, 120, 56);
    narrow.nameWidth = 500;
    narrow.detailWidth = 500;
    const ItemCellGeometry::Frames squeezed = ItemCellGeometry::layout(narrow);
    EXPECT_EQ(squeezed.badges.width(), 0);
    EXPECT_LE(squeezed.name.right(), squeezed.actionButton.left());
    EXPECT_LE(squeezed.detail.right(), squeezed.actionButton.left());
    EXPECT_GE(squeezed.name.width(), 0);
}

} // namespace
