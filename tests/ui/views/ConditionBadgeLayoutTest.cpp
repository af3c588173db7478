// Fitting the condition badges of a row into its strip: the named edge cases
// and, over random strips, the invariants every fit keeps.
#include "ui/views/ConditionBadgeLayout.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

using Frame = ConditionBadgeLayout::Frame;
using Frames = QList<Frame>;

ConditionBadgeLayout::Metrics metrics(double stripWidth, double threshold = 0.5, double spacing = 4, double minWidth = 10)
{
    return { stripWidth, spacing, minWidth, threshold };
}

QList<double> widthsOf(const Frames& frames)
{
    QList<double> widths;
    for (const Frame& frame : frames)
        widths.append(frame.width);
    return widths;
}

TEST(ConditionBadgeLayoutTest, MeasuredWidthIsTheNameAndBothPaddingsRoundedUp)
{
    EXPECT_EQ(ConditionBadgeLayout::measuredWidth(20.2, 6), 33);
    // A condition without a name still gets its padding.
    EXPECT_EQ(ConditionBadgeLayout::measuredWidth(0, 6), 12);
}

TEST(ConditionBadgeLayoutTest, BadgesThatFitExactlyKeepTheirWidths)
{
    // 3 × (30 + 4) = 102: the spacing after the last badge counts too.
    EXPECT_EQ(ConditionBadgeLayout::fit({ 30, 30, 30 }, metrics(102)), (Frames { { 0, 30 }, { 34, 30 }, { 68, 30 } }));
}

TEST(ConditionBadgeLayoutTest, OnlyTheLongBadgeGivesWayAndNeverBelowTheWiderShortOne)
{
    // narrow 20 + 30, wide 200: available = 150 - 50 - 3 = 97, the wide one
    // gets ceil(200 × 97 / 200) - 1 = 96; total 20+30+96 + 12 = 158 > 150,
    // so all three shrink: ceil(w × 150 / 158) - 1.
    EXPECT_EQ(widthsOf(ConditionBadgeLayout::fit({ 20, 200, 30 }, metrics(150))), (QList<double> { 18, 91, 28 }));
    // When the long one giving way is enough, the short ones keep their widths.
    EXPECT_EQ(widthsOf(ConditionBadgeLayout::fit({ 20, 200, 30 }, metrics(160, 0.5, 0))), (QList<double> { 20, 106, 30 }));
    // Too little room for the long one: it keeps the width of the wider short one.
    EXPECT_EQ(widthsOf(ConditionBadgeLayout::fit({ 20, 200, 30 }, metrics(81, 0.5, 0))), (QList<double> { 20, 30, 30 }));
    EXPECT_EQ(widthsOf(ConditionBadgeLayout::fit({ 20, 200, 30 }, metrics(1000, 0.5, 0, 5))), (QList<double> { 20, 200, 30 }));
}

TEST(ConditionBadgeLayoutTest, EqualBadgesThatOverflowShrinkAlike)
{
    // All wide (ceil(0.5 × 50) < 50): each gets ceil((W - n) / n) - 1,
    // here ceil(97 / 3) - 1 = 32.
    const Frames wide = ConditionBadgeLayout::fit({ 50, 50, 50 }, metrics(100, 0.5, 0));
    EXPECT_EQ(widthsOf(wide), (QList<double> { 32, 32, 32 }));
    // None wide (threshold 1): only the shrinking in proportion applies.
    const Frames narrow = ConditionBadgeLayout::fit({ 50, 50, 50 }, metrics(100, 1, 0));
    EXPECT_EQ(widthsOf(narrow), (QList<double> { 33, 33, 33 }));
    // ... to at least the minimum width, after which the last ones do not fit.
    const Frames minimum = ConditionBadgeLayout::fit({ 50, 50, 50, 50 }, metrics(100, 1, 4, 30));
    EXPECT_EQ(widthsOf(minimum), (QList<double> { 30, 30, 30, 0 }));
}

TEST(ConditionBadgeLayoutTest, TheLastVisibleBadgeIsCutAndTheRestHidden)
{
    // The minimum keeps every badge at 40: 40 + 4 + 40 + 4 leaves 12 for the third.
    EXPECT_EQ(ConditionBadgeLayout::fit({ 60, 60, 60 }, metrics(100, 1, 4, 40)),
              (Frames { { 0, 40 }, { 44, 40 }, { 88, 0 } }));
    // More than the minimum left: the badge is cut to what is left.
    // (each shrinks to ceil(60 × 100 / 192) - 1 = 31; 100 - 70 = 30 are left)
    EXPECT_EQ(ConditionBadgeLayout::fit({ 60, 60, 60 }, metrics(100, 1, 4, 5)).last(), (Frame { 70, 30 }));
    // A hidden badge hides every badge after it, even one that would just fit.
    EXPECT_EQ(widthsOf(ConditionBadgeLayout::fit({ 11, 28, 49, 10 }, metrics(90, 1, 0, 30))),
              (QList<double> { 30, 30, 0, 0 }));
}

TEST(ConditionBadgeLayoutTest, NothingIsShownInAStripWithoutRoom)
{
    for (double width : { 0.0, -5.0 }) {
        const Frames frames = ConditionBadgeLayout::fit({ 30, 12 }, metrics(width));
        ASSERT_EQ(frames.size(), 2);
        EXPECT_TRUE(frames[0].isHidden());
        EXPECT_TRUE(frames[1].isHidden());
    }
    EXPECT_TRUE(ConditionBadgeLayout::fit({}, metrics(100)).isEmpty());
}

TEST(ConditionBadgeLayoutTest, RandomStripsKeepOrderWidthAndHiddenRule)
{
    QRandomGenerator random(20261208);
    for (int round = 0; round < 5000; ++round) {
        QList<double> widths;
        const int count = random.bounded(0, 9);
        for (int i = 0; i < count; ++i)
            widths.append(ConditionBadgeLayout::measuredWidth(random.bounded(0, 240), random.bounded(0, 9)));
        const ConditionBadgeLayout::Metrics m = metrics(random.bounded(-10, 600), random.bounded(0, 150) / 100.0,
                                                        random.bounded(0, 9), random.bounded(0, 60));
        const Frames frames = ConditionBadgeLayout::fit(widths, m);
        const QList<double> fitted = ConditionBadgeLayout::fittedWidths(widths, m);
        SCOPED_TRACE(QStringLiteral("round %1, strip %2").arg(round).arg(m.stripWidth).toStdString());

        ASSERT_EQ(frames.size(), widths.size());
        double previousEnd = 0;
        double previousX = 0;
        bool hiddenSeen = false;
        double total = 0;
        for (double width : widths)
            total += width + m.spacing;
        for (qsizetype i = 0; i < frames.size(); ++i) {
            const Frame& frame = frames[i];
            EXPECT_GE(frame.width, 0);
            EXPECT_LE(frame.width, fitted[i]);
            EXPECT_LE(frame.x + frame.width, std::max(m.stripWidth, 0.0));
            EXPECT_GE(frame.x, previousX);
            previousX = frame.x;
            if (frame.isHidden()) {
                // A badge shrunk to nothing is hidden where it stands.
                hiddenSeen = hiddenSeen || fitted[i] > 0;
                continue;
            }
            // Visible badges form the front of the list, without overlap.
            EXPECT_FALSE(hiddenSeen);
            EXPECT_GE(frame.x, previousEnd);
            previousEnd = frame.x + frame.width + m.spacing;
            if (total <= m.stripWidth) {
                EXPECT_EQ(frame.width, widths[i]);
            }
        }
        if (m.stripWidth <= 0) {
            for (const Frame& frame : frames)
                EXPECT_TRUE(frame.isHidden());
        }
    }
}

} // namespace
