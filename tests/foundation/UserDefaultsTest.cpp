#include "foundation/Log.h"
#include "foundation/MHUserSettingsKeys.h"
#include "foundation/UserDefaults.h"
#include "support/TestHome.h"

#include <QFile>
#include <QSettings>
#include <QTimeZone>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace {

QString factoryDefaultsPath()
{
    return QStringLiteral(LW_SOURCE_DIR "/resources/FactoryDefaults.plist");
}

class UserDefaultsTest : public testing::Test {
protected:
    void SetUp() override
    {
        const QString name = QString::fromUtf8(testing::UnitTest::GetInstance()->current_test_info()->name());
        path = freshTestFolder("defaults-" + name) + "/Lanternwick.conf";
        defaults = std::make_unique<UserDefaults>(path);
    }
    // Writes an INI file as a person or an older version would have left it.
    void writeFile(const QByteArray& contents)
    {
        defaults.reset();
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
        file.close();
        defaults = std::make_unique<UserDefaults>(path);
    }

    QString path;
    std::unique_ptr<UserDefaults> defaults;
};

} // namespace

TEST_F(UserDefaultsTest, StandardFileFollowsXdgConfigHome)
{
    EXPECT_EQ(UserDefaults::standardFilePath(), qEnvironmentVariable("XDG_CONFIG_HOME") + "/Lanternwick/Lanternwick.conf");
    EXPECT_EQ(UserDefaults::standard().filePath(), UserDefaults::standardFilePath());
}

TEST_F(UserDefaultsTest, ValuesKeepTheirTypeThroughTheFile)
{
    const QDateTime boot(QDate(2024, 2, 29), QTime(23, 59, 58, 125), QTimeZone::utc());
    const QString awkward = QStringLiteral("a;b=c \"q\" $HOME `x` %1 \n@start é");
    defaults->setIsLanternwickEnabled(true);
    defaults->setIsLaunchAfterRestart(false);
    defaults->setDelayBeforeItemsExecution(0.1f);
    defaults->setLoggingNumberOfFilesToKeep(std::numeric_limits<quint64>::max());
    defaults->setLastBootTime(boot);
    defaults->setSparkleFeedURL(awkward);

    UserDefaults second(path);
    EXPECT_TRUE(second.isLanternwickEnabled());
    EXPECT_FALSE(second.isLaunchAfterRestart());
    EXPECT_TRUE(second.hasUserValue("IsLaunchAfterRestart"));
    EXPECT_EQ(second.delayBeforeItemsExecution(), 0.1f);
    EXPECT_EQ(second.loggingNumberOfFilesToKeep(), std::numeric_limits<quint64>::max());
    EXPECT_EQ(second.lastBootTime(), boot);
    EXPECT_EQ(second.sparkleFeedURL(), awkward);

    // Nested key paths are groups of the INI file, readable by hand.
    QSettings raw(path, QSettings::IniFormat);
    EXPECT_EQ(raw.value("Logging/LogFilesToKeep").toString(), "18446744073709551615");
}

TEST_F(UserDefaultsTest, MissingValuesReadAsNothing)
{
    EXPECT_FALSE(defaults->isLanternwickEnabled());
    EXPECT_EQ(defaults->delayBeforeItemsExecution(), 0.0f);
    EXPECT_EQ(defaults->itemsListsSize(), 0u);
    EXPECT_FALSE(defaults->lastLoginTime().isValid());
    EXPECT_TRUE(defaults->sparkleFeedURL().isEmpty());
}

TEST_F(UserDefaultsTest, HandEditedValuesAreReadSafely)
{
    writeFile("[General]\nIsLanternwickEnabled=TRUE\nShowWelcomeWindow=0\nItemsListsSize=-3\n"
              "DelayBeforeItemsExecution=abc\nLastBootTime=yesterday\n");
    EXPECT_TRUE(defaults->isLanternwickEnabled());
    EXPECT_FALSE(defaults->showWelcomeWindow());
    EXPECT_EQ(defaults->itemsListsSize(), 0u);
    EXPECT_EQ(defaults->delayBeforeItemsExecution(), 0.0f);
    EXPECT_FALSE(defaults->lastBootTime().isValid());
}

// A number the setting's type cannot hold would wrap around into another
// value (LogVerbosity 4294967299 into 3, the most verbose level).
TEST_F(UserDefaultsTest, ANumberTooLargeForItsTypeReadsAsTheFactoryValue)
{
    writeFile("[General]\nLogVerbosity=4294967299\nItemsListsSize=99999999999999999999999\n");
    defaults->registerDefaults({ { "LogVerbosity", 1 }, { "ItemsListsSize", 2 } });
    EXPECT_EQ(defaults->loggingVerbosityLevel(), 1u);
    EXPECT_EQ(defaults->itemsListsSize(), 2u);
    defaults->setLoggingVerbosityLevel(3);
    EXPECT_EQ(defaults->loggingVerbosityLevel(), 3u);
}

TEST_F(UserDefaultsTest, NumbersNoTimeOrSizeCanBeReadAsTheFactoryValue)
{
    defaults->registerDefaults({ { "Tweaking", QVariantMap { { "DefaultValues", QVariantMap { { "DelayLoginItemDefaultDelayValue", 5.0 } } } } } });
    for (const char* stored : { "inf", "-inf", "nan", "1e39", "-5", "abc" }) {
        writeFile(QByteArray("[Tweaking]\nDefaultValues\\DelayLoginItemDefaultDelayValue=") + stored + "\n");
        defaults->registerDefaults({ { "Tweaking", QVariantMap { { "DefaultValues", QVariantMap { { "DelayLoginItemDefaultDelayValue", 5.0 } } } } } });
        EXPECT_EQ(defaults->delayLoginItemDefaultDelay(), 5.0f) << stored;
    }
    writeFile("[Tweaking]\nDefaultValues\\DelayLoginItemDefaultDelayValue=1e38\n");
    EXPECT_EQ(defaults->delayLoginItemDefaultDelay(), 1e38f);
}

TEST_F(UserDefaultsTest, FactoryValuesFallBackLeafByLeaf)
{
    defaults->registerDefaults({ { "Logging", QVariantMap { { "LogFilesToKeep", 10 }, { "LogViews", true }, { "LogObservations", true } } },
                                 { "IsLanternwickEnabled", true } });
    defaults->setLoggingNumberOfFilesToKeep(3);
    defaults->setIsLoggingObservationsEnabled(false);

    EXPECT_EQ(defaults->loggingNumberOfFilesToKeep(), 3u);
    EXPECT_TRUE(defaults->isLoggingViewsEnabled());
    EXPECT_FALSE(defaults->isLoggingObservationsEnabled());
    EXPECT_TRUE(defaults->isLanternwickEnabled());

    // A later registration merges into the dictionaries instead of replacing them.
    defaults->registerDefaults({ { "Logging", QVariantMap { { "LogViews", false } } } });
    EXPECT_FALSE(defaults->isLoggingViewsEnabled());
    defaults->removeValue("Logging.LogFilesToKeep");
    EXPECT_EQ(defaults->loggingNumberOfFilesToKeep(), 10u);

    // Factory values are never written to the user's file.
    EXPECT_FALSE(QSettings(path, QSettings::IniFormat).contains("IsLanternwickEnabled"));

    // The whole picture: every leaf, the user's values over the factory's.
    const QVariantMap all = defaults->dictionaryRepresentation();
    EXPECT_EQ(all.value("IsLanternwickEnabled").toBool(), true);
    EXPECT_EQ(all.value("Logging.LogViews").toBool(), false);
    EXPECT_EQ(all.value("Logging.LogObservations").toString(), "false");
    EXPECT_EQ(all.value("Logging.LogFilesToKeep").toInt(), 10);
    EXPECT_FALSE(all.contains("Logging"));
}

TEST_F(UserDefaultsTest, FactoryDefaultsFileGivesEveryTuningValue)
{
    Error error;
    ASSERT_TRUE(defaults->registerDefaultsFromFile(factoryDefaultsPath(), &error)) << error.description().toStdString();
    EXPECT_GT(defaults->numberOfExecutionNotificationsPerSecond(), 0.0f);
    EXPECT_GT(defaults->networkScanInterval(), 0.0f);
    EXPECT_GT(defaults->itemInspectorViewHeight(), 350.0f);
    EXPECT_FALSE(defaults->mainWindowHorizontalConstraints().isEmpty());
    EXPECT_EQ(defaults->loggingNumberOfFilesToKeep(), 10u);
    EXPECT_TRUE(defaults->isLanternwickEnabled());
    // No factory value may pretend the settings are already migrated.
    EXPECT_FALSE(defaults->value("DefaultsSchemaVersion").isValid());

    // Every colour in the file parses: a failure would be logged and read as transparent.
    const QList<RgbaColor> colors {
        defaults->loginItemViewCellDelimiterColor(), defaults->itemTableRowViewExecutingBackgroundColor(),
        defaults->itemTableRowViewExecutionPreventedBackgroundColor(), defaults->itemTableRowViewAlternateBackgroundColor(),
        defaults->itemDisabledActionIconColor(), defaults->utilityRowViewInsideColor(),
        defaults->startupConditionsListViewTextColor(), defaults->startupConditionsListViewBorderColor(),
        defaults->startupConditionsListViewBackgroundColor(), defaults->startupConditionsListViewSimulationAllowTextColor(),
        defaults->startupConditionsListViewSimulationAllowBorderColor(), defaults->startupConditionsListViewSimulationAllowBackgroundColor(),
        defaults->startupConditionsListViewSimulationPreventTextColor(), defaults->startupConditionsListViewSimulationPreventBorderColor(),
        defaults->startupConditionsListViewSimulationPreventBackgroundColor(), defaults->itemInspectorItemsTableAlternateBackgroundColor(),
        defaults->itemInspectorItemsTableDelimiterColor(), defaults->itemInspectorItemsRowDelimiterColor(),
        defaults->aboutViewCreditsFadeColor1(),
    };
    for (const RgbaColor& color : colors)
        EXPECT_NE(color, RgbaColor::genericTransparent()) << color.logDescription().toStdString();
}

TEST_F(UserDefaultsTest, ListHeightFollowsListSize)
{
    defaults->registerDefaults({ { "Layout", QVariantMap { { "SimpleItemView", QVariantMap { { "CellHeight", 20.0 } } },
                                                         { "LoginItemView", QVariantMap { { "CellHeight", 50.0 } } } } } });
    EXPECT_EQ(defaults->itemsListsHeightBasedOnCurrentSizeSetting(), 50.0f);
    defaults->setItemsListsSize(1);
    EXPECT_EQ(defaults->itemsListsHeightBasedOnCurrentSizeSetting(), 20.0f);
    defaults->setItemsListsSize(2);
    EXPECT_EQ(defaults->itemsListsHeightBasedOnCurrentSizeSetting(), 20.0f);
}

TEST_F(UserDefaultsTest, ChangedIsEmittedAfterEverySet)
{
    QStringList seen;
    QObject::connect(defaults.get(), &UserDefaults::changed, [&](const QString& key) {
        seen << key;
        // The new value is already readable from the handler.
        if (key == "IsLanternwickEnabled") {
            EXPECT_TRUE(defaults->isLanternwickEnabled());
        }
    });
    defaults->setIsLanternwickEnabled(true);
    defaults->setLoggingNumberOfFilesToKeep(4);
    defaults->removeValue("Logging.LogFilesToKeep");
    EXPECT_EQ(seen, (QStringList { MHUserSettingsKeys.isLanternwickEnabled, "Logging.LogFilesToKeep", "Logging.LogFilesToKeep" }));
}

TEST(UserSettingsKeys, TwentySixKeysInOrder)
{
    const auto keys = MHUserSettingsKeys.inOrder();
    EXPECT_STREQ(keys.front(), "IsNotificationCenterEnabled");
    EXPECT_STREQ(keys[1], "IsLanternwickEnabled");
    EXPECT_STREQ(keys[16], "LastBootTime");
    EXPECT_STREQ(keys[20], "LogVerbosity");
    EXPECT_STREQ(keys[22], "Logging.LogFilesToKeep");
    EXPECT_STREQ(keys.back(), "SUFeed");
}

TEST_F(UserDefaultsTest, MigrationMovesOldKeysOnce)
{
    writeFile("[General]\nStartupAutoCloseDelay=7.5\nEnableLanternwick=false\nUseDelayBeforeExecuting=true\n");
    defaults->registerDefaults({ { "IsLanternwickEnabled", true }, { "IsItemsExecutionAfterLaunchEnabled", true } });
    defaults->migrateUserDefaults();

    EXPECT_EQ(defaults->delayBeforeAutoClosingAfterItemsExecution(), 7.5f);
    EXPECT_FALSE(defaults->isLanternwickEnabled());
    EXPECT_TRUE(defaults->isDelayBeforeItemsExecutionEnabled());
    EXPECT_FALSE(defaults->hasUserValue("StartupAutoCloseDelay"));
    EXPECT_FALSE(defaults->hasUserValue("EnableLanternwick"));
    // An absent old key leaves the factory value in force.
    EXPECT_FALSE(defaults->hasUserValue("IsItemsExecutionAfterLaunchEnabled"));
    EXPECT_TRUE(defaults->isItemsExecutionAfterLaunchEnabled());
    EXPECT_EQ(defaults->versionOfUserDefaultsSchema(), 2.0f);
}

TEST_F(UserDefaultsTest, MigrationOfAnEmptyDomainOnlyStoresTheVersion)
{
    defaults->migrateUserDefaults();
    EXPECT_EQ(QSettings(path, QSettings::IniFormat).allKeys(), QStringList { "DefaultsSchemaVersion" });
    EXPECT_EQ(defaults->versionOfUserDefaultsSchema(), 2.0f);
}

TEST_F(UserDefaultsTest, CurrentSchemaLeavesOldKeysAlone)
{
    writeFile("[General]\nDefaultsSchemaVersion=2\nStartupAutoCloseDelay=7.5\n");
    defaults->migrateUserDefaults();
    EXPECT_TRUE(defaults->hasUserValue("StartupAutoCloseDelay"));
    EXPECT_FALSE(defaults->hasUserValue("DelayBeforeAutoClosingAfterItemsExecution"));

    writeFile("[General]\nDefaultsSchemaVersion=1\nExecuteItemsAfterSleep=true\n");
    defaults->migrateUserDefaults();
    EXPECT_TRUE(defaults->isItemsExecutionAfterAwakingFromSleepEnabled());
}

TEST(RgbaColor, ParsesLabelledComponents)
{
    QString problem;
    EXPECT_EQ(RgbaColor::fromString("r0.5 g0.25 b0 a1", "k", &problem), (RgbaColor { 0.5, 0.25, 0, 1 }));
    EXPECT_EQ(RgbaColor::fromString("R0.5 G0.25 B0 A1", "k", &problem), (RgbaColor { 0.5, 0.25, 0, 1 }));
    EXPECT_EQ(RgbaColor::fromString("  r1g.5  b 0.75 a0 trailing words", "k", &problem), (RgbaColor { 1, 0.5, 0.75, 0 }));
    EXPECT_EQ(UserDefaults::newColorRefFromString("r1 g1 b1 a0"), RgbaColor::genericTransparent());
}

TEST(RgbaColor, ReportsEachMalformedPart)
{
    const QList<std::pair<QString, QString>> cases {
        { "", "Prefix 'r' missing in  for key K!" },
        { "x1 g1 b1 a1", "Prefix 'r' missing in x1 g1 b1 a1 for key K!" },
        { "r g1 b1 a1", "Red value missing in r g1 b1 a1 for key K!" },
        { "r1 b1 a1", "Prefix 'g' missing in r1 b1 a1 for key K!" },
        { "r1 g- b1 a1", "Green value missing in r1 g- b1 a1 for key K!" },
        { "r1 g1 b1", "Prefix 'a' missing in r1 g1 b1 for key K!" },
        { "r1 g1 b1 a", "Alpha value missing in r1 g1 b1 a for key K!" },
        { "r1.5 g1 b1 a1", "Red value out of range in r1.5 g1 b1 a1 for key K!" },
        { "r1 g1 b-0.1 a1", "Blue value out of range in r1 g1 b-0.1 a1 for key K!" },
        { "r1 g1 b1 a1e9", "Alpha value out of range in r1 g1 b1 a1e9 for key K!" },
    };
    for (const auto& [text, message] : cases) {
        QString problem;
        EXPECT_FALSE(RgbaColor::fromString(text, "K", &problem).has_value()) << text.toStdString();
        EXPECT_EQ(problem, message);
        EXPECT_EQ(UserDefaults::newColorRefFromString(text, "K"), RgbaColor::genericTransparent());
    }
}

TEST_F(UserDefaultsTest, ColoursAreReadOncePerProcess)
{
    writeFile("[Layout]\nAboutView\\CreditsFadeColor1=r0.5 g0.25 b0 a1\nAboutView\\CreditsFadeColor2=not a colour\n");
    EXPECT_EQ(defaults->aboutViewCreditsFadeColor1(), (RgbaColor { 0.5, 0.25, 0, 1 }));
    EXPECT_EQ(defaults->aboutViewCreditsFadeColor2(), RgbaColor::genericTransparent());

    defaults->setString("Layout.AboutView.CreditsFadeColor1", "r1 g1 b1 a1");
    EXPECT_EQ(defaults->aboutViewCreditsFadeColor1(), (RgbaColor { 0.5, 0.25, 0, 1 }));
    EXPECT_EQ(UserDefaults(path).aboutViewCreditsFadeColor1(), (RgbaColor { 1, 1, 1, 1 }));
}

TEST_F(UserDefaultsTest, ConcurrentReadsAndWrites)
{
    defaults->registerDefaults({ { "Tweaking", QVariantMap { { "Timings", QVariantMap { { "NetworkScanInterval", 10.0 } } } } } });
    std::atomic<bool> stop { false };
    std::atomic<int> badReads { 0 };
    std::vector<std::thread> readers;
    for (int i = 0; i < 4; ++i) {
        readers.emplace_back([&] {
            while (!stop) {
                const float interval = defaults->networkScanInterval();
                if (interval != 10.0f && interval != 20.0f)
                    ++badReads;
                defaults->startupConditionsListViewTextColor();
                defaults->isLanternwickEnabled();
            }
        });
    }
    for (int i = 0; i < 200; ++i) {
        defaults->setFloat("Tweaking.Timings.NetworkScanInterval", i % 2 ? 20.0f : 10.0f);
        defaults->setIsLanternwickEnabled(i % 2);
    }
    stop = true;
    for (std::thread& reader : readers)
        reader.join();
    EXPECT_EQ(badReads, 0);
}
