#pragma once
// The settings of the application: what the user chooses and what the program
// remembers, stored in an INI file through QSettings, over the factory values
// of FactoryDefaults.plist.
//
// A key path "Tweaking.Timings.X" is the INI key "X" of group
// "Tweaking/Timings". Every value is looked up leaf by leaf: the user's value
// at that exact path first, then the factory value, so one stored leaf never
// hides the factory values beside it.
//
// Values are stored in a plain text form that each typed getter reads back
// exactly (QSettings would return every scalar as a string anyway), and that
// a person can still edit by hand.
//
// Safe to use from any thread: the engine's queues read timings while the
// main thread writes settings.
#include "foundation/Error.h"
#include "foundation/RgbaColor.h"

#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QSettings>
#include <QVariantMap>
#include <mutex>

class UserDefaults : public QObject {
    Q_OBJECT
public:
    explicit UserDefaults(const QString& filePath, QObject* parent = nullptr);
    ~UserDefaults() override;

    // The process-wide settings in $XDG_CONFIG_HOME/Lanternwick/Lanternwick.conf.
    static UserDefaults& standard();
    static QString standardFilePath();
    QString filePath() const;

    // Factory values are the fallback of every key and are never written to
    // the file. Registering again merges, leaf by leaf, over what is there.
    void registerDefaults(const QVariantMap& defaults);
    // Registers the dictionary of a property list such as FactoryDefaults.plist.
    bool registerDefaultsFromFile(const QString& path, Error* error = nullptr);

    // The user's value, else the factory value, else an invalid QVariant.
    // A user value comes back in its stored text form; the typed getters below
    // convert it.
    QVariant value(const QString& keyPath) const;
    bool hasUserValue(const QString& keyPath) const;
    // Every key path with a value, factory values included, user values first.
    QVariantMap dictionaryRepresentation() const;
    void removeValue(const QString& keyPath);

    // A missing or unreadable value reads as false, 0, an invalid date or an
    // empty string; a stored number that does not read as an unsigned one
    // (too large for it, for one) reads as the factory value.
    bool boolForKey(const QString& keyPath) const;
    float floatForKey(const QString& keyPath) const;
    quint64 unsignedIntegerForKey(const QString& keyPath) const;
    QDateTime dateForKey(const QString& keyPath) const;
    QString stringForKey(const QString& keyPath) const;

    // Each setter stores the value and then emits changed(keyPath) on the
    // calling thread.
    void setBool(const QString& keyPath, bool value);
    void setFloat(const QString& keyPath, float value);
    void setUnsignedInteger(const QString& keyPath, quint64 value);
    void setDate(const QString& keyPath, const QDateTime& value);
    void setString(const QString& keyPath, const QString& value);

    // Colours: parsed on the first read of a key and kept for the life of this
    // object; later changes of the setting are seen at the next start.
    // A malformed colour is logged and reads as transparent.
    static RgbaColor newColorRefFromString(const QString& string, const QString& key = QString());
    RgbaColor genericTransparentColor() const;

    // Writes pending changes and reads what another writer put in the file
    // since (the settings copied from an older edition at start).
    void synchronize();

    // Moves the keys of the first settings layout to their current names.
    void migrateUserDefaults();
    void migrateUserDefaultsFromSchema1To2();

    // Derived: the row height of the item lists for the chosen list size.
    float itemsListsHeightBasedOnCurrentSizeSetting() const;

    // User settings.
    bool skipContainerDataMigration() const;
    void setSkipContainerDataMigration(bool value);
    float versionOfUserDefaultsSchema() const;
    void setVersionOfUserDefaultsSchema(float value);
    bool isNotificationCenterEnabled() const;
    void setIsNotificationCenterEnabled(bool value);
    bool isLaunchAfterRestart() const;
    void setIsLaunchAfterRestart(bool value);
    bool isLanternwickEnabled() const;
    void setIsLanternwickEnabled(bool value);
    bool isItemsExecutionAfterLaunchEnabled() const;
    void setIsItemsExecutionAfterLaunchEnabled(bool value);
    bool isItemsExecutionAfterAwakingFromSleepEnabled() const;
    void setIsItemsExecutionAfterAwakingFromSleepEnabled(bool value);
    bool isItemsExecutionOnManualLaunchEnabled() const;
    void setIsItemsExecutionOnManualLaunchEnabled(bool value);
    bool isAutoCloseAfterItemsExecutionEnabled() const;
    void setIsAutoCloseAfterItemsExecutionEnabled(bool value);
    float delayBeforeAutoClosingAfterItemsExecution() const;
    void setDelayBeforeAutoClosingAfterItemsExecution(float value);
    bool isDelayBeforeItemsExecutionEnabled() const;
    void setIsDelayBeforeItemsExecutionEnabled(bool value);
    float delayBeforeItemsExecution() const;
    void setDelayBeforeItemsExecution(float value);
    bool isDelayBetweenItemsDuringExecutionEnabled() const;
    void setIsDelayBetweenItemsDuringExecutionEnabled(bool value);
    float delayBetweenItemsDuringExecution() const;
    void setDelayBetweenItemsDuringExecution(float value);
    quint64 applicationRunMode() const;
    void setApplicationRunMode(quint64 value);
    quint64 itemsListsSize() const;
    void setItemsListsSize(quint64 value);
    bool showMainWindowAfterLaunch() const;
    void setShowMainWindowAfterLaunch(bool value);
    bool showWelcomeWindow() const;
    void setShowWelcomeWindow(bool value);
    bool showExecutionProgressInDockIcon() const;
    void setShowExecutionProgressInDockIcon(bool value);
    QDateTime lastBootTime() const;
    void setLastBootTime(const QDateTime& value);
    QDateTime lastLoginTime() const;
    void setLastLoginTime(const QDateTime& value);
    // The login session of the last quit, for where its start time is unknown.
    QString lastLoginSessionID() const;
    void setLastLoginSessionID(const QString& value);
    QString sparkleFeedURL() const;
    void setSparkleFeedURL(const QString& value);
    bool skipDisableLanternwickDialog() const;
    void setSkipDisableLanternwickDialog(bool value);
    bool skipDeleteSystemItemsDialog() const;
    void setSkipDeleteSystemItemsDialog(bool value);
    bool isLoggingToFileEnabled() const;
    void setIsLoggingToFileEnabled(bool value);
    quint64 loggingVerbosityLevel() const;
    void setLoggingVerbosityLevel(quint64 value);
    quint64 loggingNumberOfFilesToKeep() const;
    void setLoggingNumberOfFilesToKeep(quint64 value);
    bool isLoggingObservationsEnabled() const;
    void setIsLoggingObservationsEnabled(bool value);
    bool isLoggingViewsEnabled() const;
    void setIsLoggingViewsEnabled(bool value);

    // Tuning values, read-only to the program.
    // Tweaking.Delays
    float systemItemsChangedNotificationDelay() const;
    float dragDropDatabaseUpdateDelay() const;
    float loginItemsExecutionTickDelay() const;
    // Tweaking.DefaultValues
    float delayLoginItemDefaultDelay() const;
    bool isDoubleClickToLaunchItemsEnabled() const;
    bool isDoubleClickToShowPathsEnabled() const;
    bool isLaunchParametersStatusEnabled() const;
    bool isLaunchInBackgroundEnabled() const;
    bool isForcedItemHideEnabled() const;
    // Tweaking.Timings
    float maximumWaitForPreviousItemDelay() const;
    float waitForPreviousItemPostDelay() const;
    float numberOfWaitForPreviousItemChecksPerSecond() const;
    float numberOfExecutionNotificationsPerSecond() const;
    float systemBootDetectionAllowedDifference() const;
    float creditsScrollAnimationInterval() const;
    float dockAnimationSampleInterval() const;
    float networkScanInterval() const;
    // Layout.MainItemsView
    float mainItemsViewSimulatePowerSourceImageSize() const;
    // Layout.MainWindow
    QString mainWindowHorizontalConstraints() const;
    QString mainWindowVerticalConstraints() const;
    // Layout.SystemItemView
    float systemItemViewCellHeight() const;
    QString systemItemViewIconHorizontalLayout() const;
    QString systemItemViewIconVerticalLayout() const;
    QString systemItemViewNameHorizontalLayout() const;
    QString systemItemViewNameVerticalLayout() const;
    QString systemItemViewKindHorizontalLayout() const;
    QString systemItemViewKindVerticalLayout() const;
    // Layout.LoginItemView
    float loginItemViewCellHeight() const;
    float loginItemViewDisabledAlpha() const;
    RgbaColor loginItemViewCellDelimiterColor() const;
    RgbaColor itemTableRowViewExecutingBackgroundColor() const;
    RgbaColor itemTableRowViewExecutionPreventedBackgroundColor() const;
    RgbaColor itemTableRowViewAlternateBackgroundColor() const;
    RgbaColor itemDisabledActionIconColor() const;
    // Layout.SimpleItemView
    float simpleItemViewCellHeight() const;
    float simpleItemViewDisabledAlpha() const;
    RgbaColor utilityRowViewOutsideColor() const;
    RgbaColor utilityRowViewInsideColor() const;
    // Layout.StartupConditionsListView
    float startupConditionsListViewMinItemWidth() const;
    float startupConditionsListViewMinWidthThreshold() const;
    float startupConditionsListViewItemTextPadding() const;
    float startupConditionsListViewItemSpacing() const;
    RgbaColor startupConditionsListViewTextColor() const;
    RgbaColor startupConditionsListViewBorderColor() const;
    RgbaColor startupConditionsListViewBackgroundColor() const;
    RgbaColor startupConditionsListViewSimulationAllowTextColor() const;
    RgbaColor startupConditionsListViewSimulationAllowBorderColor() const;
    RgbaColor startupConditionsListViewSimulationAllowBackgroundColor() const;
    RgbaColor startupConditionsListViewSimulationPreventTextColor() const;
    RgbaColor startupConditionsListViewSimulationPreventBorderColor() const;
    RgbaColor startupConditionsListViewSimulationPreventBackgroundColor() const;
    // Layout.ItemInspectorView
    float itemInspectorViewHeight() const;
    float itemInspectorViewItemStartupModeImageSize() const;
    float itemInspectorDefaultItemInfoHeight() const;
    RgbaColor itemInspectorItemsTableAlternateBackgroundColor() const;
    RgbaColor itemInspectorItemsTableDelimiterColor() const;
    RgbaColor itemInspectorItemsRowDelimiterColor() const;
    // Layout.FileItemInfoView
    QString fileItemInfoViewHorizontalLayout() const;
    QString fileItemInfoViewIconVerticalLayout() const;
    QString fileItemInfoViewInfoVerticalLayout() const;
    // Layout.DelayItemInfoView
    QString delayItemInfoViewHorizontalLayout() const;
    QString delayItemInfoViewIconVerticalLayout() const;
    QString delayItemInfoViewSliderVerticalLayout() const;
    // Layout.ConditionNameEditorView
    QString conditionNameEditorViewHorizontalLayout() const;
    QString conditionNameEditorViewVerticalLayout() const;
    // Layout.ScheduleDataEditorView
    float scheduleDataEditorViewScheduleItemsLayoutDelay() const;
    // Layout.AboutView
    float aboutViewCreditsFadeHeight() const;
    RgbaColor aboutViewCreditsFadeColor1() const;
    RgbaColor aboutViewCreditsFadeColor2() const;

Q_SIGNALS:
    void changed(const QString& keyPath);

private:
    QVariant lookupLocked(const QString& keyPath) const;
    // A stored value that is not an unsigned number up to maximum reads as
    // the factory value.
    quint64 unsignedIntegerForKey(const QString& keyPath, quint64 maximum) const;
    void store(const QString& keyPath, const QString& text);
    RgbaColor cachedColorForKey(const QString& keyPath) const;

    mutable std::mutex m_mutex;
    QSettings m_settings;
    QVariantMap m_factory;
    mutable QHash<QString, RgbaColor> m_colors;
};
