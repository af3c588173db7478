#include "TextsTestFixture.h"
#include "foundation/MHExecuteNotifications.h"
#include "texts/FormattedSecondsValueTransformer.h"

#include <limits>

using TimesTest = TextsTest;
namespace keys = MHExecuteNotifications;

TEST_F(TimesTest, TimeTextsPickTheirUnit)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    const struct {
        double seconds;
        const char* time;
        const char* precise;
    } cases[] = {
        { 0.25, "250 ms", "250 ms" },
        { 0.9, "900 ms", "900 ms" },
        { 0.1 + 0.2, "300 ms", "300 ms" },
        { 0.9994, "999 ms", "999 ms" },
        // Rounded first: never "1000 ms" between "900 ms" and "1 second".
        { 0.9996, "1 second", "1 second" },
        { 0.99999, "1 second", "1 second" },
        { 1, "1 second", "1 second" },
        { 1.9, "1 second", "1 second" },
        { 59, "59 seconds", "59 seconds" },
        { 59.9, "59 seconds", "59 seconds" },
        { 60, "1 minute", "1:00" },
        { 90, "1 minute", "1:30" },
        { 120, "2 minutes", "2:00" },
        { 125, "2 minutes", "2:05" },
        { 605, "10 minutes", "10:05" },
        { 0, "0 ms", "0 ms" },
        { -3, "0 ms", "0 ms" },
        { nan, "0 ms", "0 ms" },
        { infinity, "0 ms", "0 ms" },
        { 1e30, "307445734561825860 minutes", "307445734561825860:15" },
    };
    for (const auto& test : cases) {
        EXPECT_EQ(texts.timeStringForSeconds(test.seconds), test.time) << test.seconds;
        EXPECT_EQ(texts.preciseTimeStringForSeconds(test.seconds), test.precise) << test.seconds;
    }
}

TEST_F(TimesTest, StatusLinesReadTheNotification)
{
    const auto note = [](QVariantMap info) { return Notification { QString(), nullptr, std::move(info) }; };
    EXPECT_EQ(texts.executeInfoStringForDelayDidTick(note({ { keys::remainingTime, 65.0 } })), "Launching items in 1:05...");
    EXPECT_EQ(texts.executeInfoStringForItemDidStart(note({ { keys::itemType, LoginItemTypeFile }, { keys::itemDisplayName, "%1 $HOME" } })),
              "Launching %1 $HOME...");
    EXPECT_EQ(texts.executeInfoStringForItemDidStart(
                  note({ { keys::itemType, LoginItemTypeWaitPrevious }, { keys::previousItemDisplayName, "Mail" } })),
              "Waiting for Mail to launch...");
    EXPECT_EQ(texts.executeInfoStringForItemDidStart(note({ { keys::itemType, LoginItemTypeDelay }, { keys::remainingTime, 3.5 } })),
              "Delay 3 seconds...");
    EXPECT_EQ(texts.autoCloseInfoStringForDidStart(note({ { keys::remainingTime, 0.5 } })), "Closing in 500 ms...");
    EXPECT_EQ(texts.autoCloseInfoStringForDidStart(note({})), "Checking for update...");
    EXPECT_EQ(texts.autoCloseInfoStringForDidTick(note({ { keys::remainingTime, 120.0 } })), "Closing in 2 minutes...");
}

TEST_F(TimesTest, StatusLinesSurviveMissingOrWrongKeys)
{
    const Notification empty;
    EXPECT_EQ(texts.executeInfoStringForDelayDidTick(empty), "Launching items in 0 ms...");
    // Without a type it is none of the named kinds.
    EXPECT_EQ(texts.executeInfoStringForItemDidStart(empty), "Delay 0 ms...");
    EXPECT_EQ(texts.executeInfoStringForItemDidStart(Notification { {}, nullptr, { { keys::itemType, LoginItemTypeFile } } }),
              "Launching ...");
    EXPECT_EQ(texts.autoCloseInfoStringForDidTick(Notification { {}, nullptr, { { keys::remainingTime, "soon" } } }),
              "Closing in 0 ms...");
    EXPECT_EQ(texts.executeInfoStringForItemsDidEnd(empty), "Finished...");
}

TEST_F(TimesTest, FormattedSecondsTransformerShowsTimesOneWay)
{
    const FormattedSecondsValueTransformer transformer(texts);
    EXPECT_EQ(transformer.transformedValue(90).toString(), "1 minute");
    EXPECT_EQ(transformer.transformedValue("0.25").toString(), "250 ms");
    EXPECT_FALSE(transformer.transformedValue(QVariant()).isValid());
    EXPECT_FALSE(transformer.transformedValue("later").isValid());
    EXPECT_FALSE(transformer.reverseTransformedValue("1 minute").isValid());
}
