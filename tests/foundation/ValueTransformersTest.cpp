#include "foundation/ExplicitRangeValueTransformer.h"
#include "foundation/Log.h"
#include "foundation/LoggingVerbosityValueTransformer.h"
#include "foundation/MHNumberFormatter.h"
#include "foundation/QVariantMapExtensions.h"

#include <gtest/gtest.h>

TEST(ExplicitRangeValueTransformer, MapsValuesToTheNearestPosition)
{
    const ExplicitRangeValueTransformer transformer({ 5, 10, 15 });
    EXPECT_EQ(transformer.transformedValue(10).toInt(), 1);
    EXPECT_EQ(transformer.transformedValue(10.000000001).toInt(), 1);
    EXPECT_EQ(transformer.transformedValue(7).toInt(), 0);
    EXPECT_EQ(transformer.transformedValue(7.5).toInt(), 0); // a tie goes to the first
    EXPECT_EQ(transformer.transformedValue(1000).toInt(), 2);
    EXPECT_EQ(transformer.transformedValue(-1000).toInt(), 0);
    EXPECT_EQ(transformer.transformedValue("15").toInt(), 2);
    EXPECT_FALSE(transformer.transformedValue(QVariant()).isValid());
    EXPECT_FALSE(transformer.transformedValue("fast").isValid());
}

TEST(ExplicitRangeValueTransformer, MapsPositionsBackWithinTheList)
{
    const ExplicitRangeValueTransformer transformer({ 5, 10, 15 });
    EXPECT_EQ(transformer.reverseTransformedValue(1).toDouble(), 10);
    EXPECT_EQ(transformer.reverseTransformedValue(-3).toDouble(), 5);
    EXPECT_EQ(transformer.reverseTransformedValue(9).toDouble(), 15);
    EXPECT_EQ(transformer.reverseTransformedValue(1e300).toDouble(), 15);
    EXPECT_FALSE(transformer.reverseTransformedValue(QVariant()).isValid());
    EXPECT_FALSE(transformer.reverseTransformedValue("x").isValid());
    EXPECT_FALSE(ExplicitRangeValueTransformer({}).reverseTransformedValue(0).isValid());
    EXPECT_FALSE(ExplicitRangeValueTransformer({}).transformedValue(0).isValid());
}

TEST(LoggingVerbosityValueTransformer, ClampsAndSetsTheLogMask)
{
    const int32_t saved = gLogMask;
    const LoggingVerbosityValueTransformer transformer;
    EXPECT_EQ(transformer.transformedValue(7).toInt(), 3);
    EXPECT_EQ(transformer.transformedValue(2).toInt(), 2);
    EXPECT_FALSE(transformer.transformedValue(QVariant()).isValid());

    gLogMask = 0;
    EXPECT_EQ(transformer.reverseTransformedValue(5).toInt(), 3);
    EXPECT_EQ(gLogMask, 127);
    EXPECT_EQ(transformer.reverseTransformedValue(-1).toInt(), 0);
    EXPECT_EQ(gLogMask, 7);
    EXPECT_EQ(transformer.reverseTransformedValue(1).toInt(), 1);
    EXPECT_EQ(gLogMask, 31);
    // Unreadable input leaves the levels alone.
    EXPECT_FALSE(transformer.reverseTransformedValue("loud").isValid());
    EXPECT_EQ(gLogMask, 31);
    gLogMask = saved;
}

TEST(MHNumberFormatter, FormatsAndReadsPlainNumbers)
{
    const MHNumberFormatter formatter(QLocale::c());
    EXPECT_EQ(formatter.stringForObjectValue(1234.5), "1234.5");
    EXPECT_EQ(formatter.stringForObjectValue(3), "3");
    EXPECT_EQ(formatter.stringForObjectValue(100000), "100000");
    EXPECT_EQ(formatter.stringForObjectValue(0.0001), "0.0001");
    EXPECT_EQ(formatter.stringForObjectValue(QVariant()), "");
    EXPECT_EQ(formatter.stringForObjectValue("words"), "");
    EXPECT_EQ(formatter.objectValueForString(" 2.5 "), 2.5);
    EXPECT_EQ(formatter.objectValueForString("-4"), -4);
}

TEST(MHNumberFormatter, RefusesTextThatIsNotANumber)
{
    const MHNumberFormatter formatter(QLocale::c());
    for (const char* text : { "", "  ", "abc", "1.2.3", "5s", "nan", "inf" })
        EXPECT_FALSE(formatter.objectValueForString(QString::fromLatin1(text)).has_value()) << text;
}

TEST(MHNumberFormatter, FollowsItsLocale)
{
    const MHNumberFormatter formatter { QLocale(QLocale::German, QLocale::Germany) };
    EXPECT_EQ(formatter.stringForObjectValue(1234.5), "1234,5");
    EXPECT_EQ(formatter.objectValueForString("0,25"), 0.25);
}

TEST(SetValidObject, StoresOnlyValuesThatHoldSomething)
{
    QVariantMap map { { "kept", 1 } };
    EXPECT_FALSE(setValidObject(map, "kept", QVariant()));
    EXPECT_FALSE(setValidObject(map, "null", QVariant::fromValue(nullptr)));
    EXPECT_EQ(map, QVariantMap({ { "kept", 1 } }));
    EXPECT_TRUE(setValidObject(map, "empty", QString()));
    EXPECT_TRUE(setValidObject(map, "kept", 2));
    EXPECT_EQ(map.value("kept"), 2);
    EXPECT_TRUE(map.contains("empty"));
}
