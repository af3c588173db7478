#pragma once
// Every text the application shows the user. Callers never spell a
// user-visible text themselves, so that one place holds the words and their
// translations.
//
// Each English text is the key of its translation (context "Localizator"); a
// missing translation gives the English text. Placeholders are filled in one
// pass, so a name that itself contains "%1" is shown as it is.
//
// Texts about items that the engine or the service report (from snapshots or
// records, not from the live model) take display names instead of objects.
#include "foundation/Error.h"
#include "foundation/Notification.h"
#include "model/ModelTexts.h"
#include "texts/DialogPresenter.h"
#include "texts/LanternwickObject.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QVariantMap>
#include <optional>

class DBLoginItem;
class DBFileItem;
class DBStartupCondition;
class DBScheduledConditionDataItem;
class DatabaseBackupReading;
class SystemItemHelping;
class UserDefaults;

class Localizator : public ModelTexts, public LanternwickObject {
public:
    Localizator() = default;

    // The process-wide instance.
    static Localizator& shared();

    // --- Counting -----------------------------------------------------------
    // Plain digits of the user's locale, without grouping.
    static QString formattedUnsignedInteger(quint64 value);
    // The only element's name, else the count.
    QString formattedDescriptionForItemNames(const QStringList& names) const;
    QString formattedDescriptionForLoginItems(const QList<DBLoginItem*>& items) const;
    QString formattedDescriptionForStartupConditions(const QList<DBStartupCondition*>& conditions) const;
    // With exactly n (at least 2) names, the format gets the first two names;
    // otherwise the description of the whole list.
    QString formattedDescriptionForLoginItems(const QStringList& names, const QString& format,
                                              int numberOfIndividualItemDescriptions) const;

    // --- Errors -------------------------------------------------------------
    QString errorDescriptionForFailedFileItemLaunch(const QString& itemName) const;
    // The run after a start cannot be journaled: a crash would run the list again.
    QString errorDescriptionForUnkeptRun() const;
    QString errorDescriptionForFailedTextStorageLoading() const override;
    // The notification of a save that did not reach the disk.
    QString notificationTitleForFailedSave() const;
    // The old database could not be converted: it stays, and a new one starts beside it.
    Error errorForFailedOldDatabaseConversionWithUnderlyingError(const Error& underlyingError) const;
    // The old database was converted, but some conditions not as they were:
    // changed holds them and the items that use them (OldStoreConverter).
    QString oldDatabaseConversionChangesTitle() const;
    QString oldDatabaseConversionChangesText(const QVariantMap& changed, const SystemItemHelping& helpers) const;
    QString notificationTextForFailedSaveWithError(const Error& error) const;
    // The notification of a path or name refused because it holds characters
    // the database file cannot keep; those show as U+FFFD.
    QString notificationTitleForRefusedText() const;
    QString notificationTextForRefusedText(const QString& text) const;
    QString errorForFailedDatabaseInitializationDeleteButton() const;
    QString errorForFailedDatabaseInitializationQuitButton() const;
    QString errorForFailedDatabaseInitializationRestoreButton() const;
    QString errorDescriptionForFailedDatabaseInitialization() const;
    QString simpleErrorRecoverySuggestionForFailedDatabaseInitialization() const;
    // The recovery options are the titles of the attempter's choices, in its order.
    Error errorForFailedCoreDataInitializationWithRecoveryAttempter(const QStringList& recoveryOptions) const;
    Error errorForFailedTextStorageInitializationWithRecoveryAttempter(const QStringList& recoveryOptions,
                                                                       bool canRestoreFromBackup) const;
    // The data folder cannot be made (home not writable, a file in a folder's
    // place); cause says why, with the folder that failed.
    Error errorForFailedDataFolderWithRecoveryAttempter(const QStringList& recoveryOptions, const Error& cause) const;
    Error errorForFailedDatabaseRestoreRevertWithUnderlyingError(const Error& underlyingError) const;
    Error errorForFailedDatabaseRestoreWithUnderlyingError(const Error& underlyingError) const;
    // reason: why the new copy of the program could not be started.
    Error errorForFailedRelaunch(const QString& reason) const;
    // Another copy of the program works on the same data folder from another session.
    Error errorForRunningInAnotherSession() const;

    // --- Names --------------------------------------------------------------
    QString ignoreLoginGroupDisplayName() const override;
    QString applicationLoginGroupDisplayName() const override;
    QString startupConditionDefaultName() const override;
    QString delayItemNiceDisplayNameForDelay(double delay) const override;
    QString waitPreviousItemNiceDisplayName(const DBWaitPreviousItem& item) const override;
    QString conditionalPreviousItemNiceDisplayName(const DBConditionalPreviousItem& item) const override;
    QString nameForURL(const QUrl& url) const;
    QString niceDescriptionStringForMissingItem() const;
    QString networkStartupConditionNameForInternetConnection() const;
    // "%1" the version, "%2" the build.
    QString versionStringTemplate() const;
    QString createFileItemOpenPanelTitle() const;

    // --- Times (seconds; negative and non-finite values count as 0) ---------
    QString millisecondsFromNumber(double seconds) const;
    QString secondsFromNumber(double seconds) const;
    QString minutesFromNumber(double seconds) const;
    QString timeStringForSeconds(double seconds) const;
    QString preciseTimeStringForSeconds(double seconds) const;

    // --- Status lines of a run, from the engine's notifications -------------
    QString executeInfoStringForDelayDidStart(const Notification& notification) const;
    QString executeInfoStringForDelayDidTick(const Notification& notification) const;
    QString executeInfoStringForDelayDidEnd(const Notification& notification) const;
    QString executeInfoStringForItemsDidStart(const Notification& notification) const;
    QString executeInfoStringForItemDidStart(const Notification& notification) const;
    QString executeInfoStringForItemDidTick(const Notification& notification) const;
    QString executeInfoStringForItemsDidEnd(const Notification& notification) const;
    QString autoCloseInfoStringForDidStart(const Notification& notification) const;
    QString autoCloseInfoStringForDidTick(const Notification& notification) const;
    QString autoCloseInfoStringForDidEnd(const Notification& notification) const;

    // --- Warnings -----------------------------------------------------------
    QString warningStringForLanternwickDisabledState() const;
    QString warningStringForExecutionDisabledState() const;
    QString warningStringForDockModeRestartRequired() const;
    QString warningStringForNetworkConditions() const;
    QString warningStringForMissingSystemTray() const;


    // --- Undo action names --------------------------------------------------
    QString undoActionForRenamingFrom(const QString& oldName, const QString& newName) const;
    QString undoActionForMarkingSystemItemsAsIgnored(const QList<DBLoginItem*>& items) const;
    QString undoActionForCreatingFileItems(const QList<DBLoginItem*>& items) const;
    QString undoActionForCreatingDelayItems(const QList<DBLoginItem*>& items) const;
    QString undoActionForCreatingWaitPreviousItems(const QList<DBLoginItem*>& items) const;
    QString undoActionForCreatingConditionalPreviousItems(const QList<DBLoginItem*>& items) const;
    QString undoActionForDeletingLoginItems(const QList<DBLoginItem*>& items) const;
    QString undoActionForDeletingIgnoredItems(const QList<DBLoginItem*>& items) const;
    QString undoActionForMovingLoginItems(const QList<DBLoginItem*>& items) const;
    QString undoActionForMovingIgnoreItems(const QList<DBLoginItem*>& items) const;
    QString undoActionForMovingApplicationItemsToSystemPreferences(const QList<DBLoginItem*>& items) const;
    QString undoActionForMovingApplicationItemsToIgnoreGroup(const QList<DBLoginItem*>& items) const;
    QString undoActionForMovingIgnoreItemsToApplicationGroup(const QList<DBLoginItem*>& items) const;
    QString undoActionForChangingFileItemStartupMode(const DBFileItem& item) const;
    QString undoActionForChangingFileItemsStartupMode(const QList<DBFileItem*>& items) const;
    QString undoActionForChangingDelayItemDelay() const;
    QString undoActionForChangingConditionalPreviousItemMode() const;
    QString undoActionForAddingStartupCondition(const DBStartupCondition& condition, const DBLoginItem& item) const;
    QString undoActionForRemovingStartupCondition(const DBStartupCondition& condition, const DBLoginItem& item) const;
    QString undoActionForPastingStartupConditions(const QList<DBStartupCondition*>& conditions,
                                                  const QList<DBLoginItem*>& items) const;
    QString undoActionForCreatingScheduledStartupCondition() const;
    QString undoActionForCreatingHotkeyStartupCondition() const;
    QString undoActionForCreatingPowerSourceStartupCondition() const;
    QString undoActionForCreatingMountedVolumeStartupCondition() const;
    QString undoActionForCreatingNetworkStartupCondition() const;
    QString undoActionForMovingStartupConditions(const QList<DBStartupCondition*>& conditions) const;
    QString undoActionForDeletingStartupConditions(const QList<DBStartupCondition*>& conditions) const;
    // Named after the condition that owns the entry.
    QString undoActionForChangingScheduleDayForDataItem(const DBScheduledConditionDataItem& dataItem) const;
    QString undoActionForChangingScheduleFromTimeForDataItem(const DBScheduledConditionDataItem& dataItem) const;
    QString undoActionForChangingScheduleToTimeForDataItem(const DBScheduledConditionDataItem& dataItem) const;
    QString undoActionForAddingScheduledConditionDataItem(const DBStartupCondition& toStartupCondition) const;
    QString undoActionForRemovingScheduledConditionDataItem(const DBStartupCondition& fromStartupCondition) const;
    QString undoActionForChangingHotkeyStatusForCondition(const DBStartupCondition& condition) const;
    QString undoActionForChangingHotkeyCombinationForCondition(const DBStartupCondition& condition) const;
    QString undoActionForChangingPowerSourceCombinationForCondition(const DBStartupCondition& condition) const;
    QString undoActionForChangingVolumePathForCondition(const DBStartupCondition& condition) const;
    QString undoActionForChangingVolumeStatusForCondition(const DBStartupCondition& condition) const;
    QString undoActionForChangingNetworkNameForCondition(const DBStartupCondition& condition) const;
    QString undoActionForChangingNetworkModeForCondition(const DBStartupCondition& condition) const;
    QString undoActionForChangingNetworkStatusForCondition(const DBStartupCondition& condition) const;

    // --- Menu item titles ---------------------------------------------------
    QString menuItemTitleForMovingIgnoredItemsToSystemPreferences(const QList<DBLoginItem*>& items) const;
    QString menuItemTitleForMovingToSystemPreferencesWhenNothingIsSelected() const;
    QString menuItemTitleForMovingToIgnoredGroupWhenNothingIsSelected() const;
    QString menuItemTitleforDeletingWhenNothingIsSelected() const;
    QString menuItemTitleForMovingApplicationItemsToSystemPreferences(const QList<DBLoginItem*>& items) const;
    QString menuItemTitleForMovingApplicationItemsToIgnoredGroup(const QList<DBLoginItem*>& items) const;
    QString menuItemTitleForMovingIgnoredItemsToApplicationGroup(const QList<DBLoginItem*>& items) const;
    QString menuItemTitleForDeletingSystemItems(const QStringList& itemNames) const;
    QString menuItemTitleForDeletingLoginItems(const QList<DBLoginItem*>& items) const;
    QString menuItemTitleForDeletingIgnoredItems(const QList<DBLoginItem*>& items) const;
    QString menuItemTitleForDeletingStartupConditions(const QList<DBStartupCondition*>& conditions) const;
    QString menuItemTitleForTogglinngSimulationMode(bool isSimulationActive) const;
    // "Undo" alone when there is no action name.
    QString menuItemTitleForUndo(const QString& actionName) const;
    QString menuItemTitleForRedo(const QString& actionName) const;

    // --- Windows: menus, fixed titles and accessible names -------------------
    enum class WindowText {
        FileMenu,
        EditMenu,
        ItemsMenu,
        ViewMenu,
        ImportMenuItem,
        NewDelayItemMenuItem,
        NewWaitPreviousItemMenuItem,
        NewConditionalPreviousItemMenuItem,
        CloseWindowMenuItem,
        QuitMenuItem,
        UnselectAllMenuItem,
        CopyMenuItem,
        PasteMenuItem,
        PasteAndAppendStartupConditionsMenuItem,
        StartShownMenuItem,
        StartHiddenMenuItem,
        StartDisabledMenuItem,
        LaunchSelectedItemsMenuItem,
        MoveUpMenuItem,
        MoveDownMenuItem,
        CancelLaunchMenuItem,
        CancelAutoCloseMenuItem,
        ItemsPageMenuItem,
        SystemItemsPageMenuItem,
        // The system items page: its window title and the name of its list.
        SystemItems,
        SystemItemsHeaderTitle,
        SystemItemsHeaderText,
        MoveToLanternwickMenuItem,
        MarkAsIgnoredMenuItem,
        HelpMenu,
        LaunchItemsNowMenuItem,
        DisableLanternwickMenuItem,
        RestoreDatabaseMenuItem,
        PreferencesMenuItem,
        MainWindowMenuItem,
        WelcomeMenuItem,
        ContactSupportMenuItem,
        AboutMenuItem,
        // The preferences, welcome, about and feedback windows.
        GeneralToolbarLabel,
        LookAndFeelToolbarLabel,
        IgnoredItemsToolbarLabel,
        UpdateToolbarLabel,
        EnableLanternwick,
        LaunchAfterLogin,
        LaunchAfterWake,
        DelayBeforeLaunch,
        AutoClose,
        DelayBetweenItems,
        ShowMainWindowAtStart,
        LaunchOnManualStart,
        GeneralHelp,
        RunMode,
        RunModeTaskBar,
        RunModeTray,
        RestartNow,
        ItemsListSize,
        ItemsListSizeNormal,
        ItemsListSizeSmall,
        LogVerbosity,
        LogVerbosityErrors,
        LogVerbosityNormal,
        LogVerbosityVerbose,
        LogVerbosityDebug,
        LookAndFeelHelp,
        IgnoredItemsHelp,
        // The buttons of the Ignored Items pane, which do not change with the selection.
        IgnoredItemsMoveToApplicationItems,
        IgnoredItemsCopyToStartupApplications,
        IgnoredItemsDelete,
        UpdatesFromPackageManager,
        WelcomeTitle,
        WelcomeText,
        WelcomeHelp,
        ShowWelcomeWindowAtStart,
        AboutTitle,
        Acknowledgements,
        FeedbackTitle,
        FeedbackText,
        FeedbackLogs,
        FeedbackDatabase,
        FeedbackCopy,
    };
    QString windowText(WindowText text) const;

    // --- End-of-run user notification ---------------------------------------
    QString userNotificationExecutionEndedTitle() const;
    // Only the failed items change the text, so the launched ones are not taken.
    QString userNotificationExecutionEndedInfoTextWithLaunchedItems(const QStringList& failedItemNames) const;

    // --- Dialogs ------------------------------------------------------------
    // True when the user confirms, or at once when the user chose not to be
    // asked again. The texts name none of the items, so none are taken.
    bool runDisableLanternwickDialogWithItems(DialogPresenter& presenter) const;
    bool runDeleteSystemItemsDialogWithItems(DialogPresenter& presenter, const QStringList& itemNames) const;
    // Tells which session entries can be neither moved nor ignored, one
    // "name: reason" line each.
    void runSystemItemsCannotBeMovedAlert(DialogPresenter& presenter, const QStringList& itemReasons) const;
    // The path of the backup the user chose to restore; nothing when there is
    // no readable backup or the user cancelled.
    std::optional<QString> runRestoreDatabaseDialog(DialogPresenter& presenter, const DatabaseBackupReading& backups,
                                                    const SystemItemHelping& helpers) const;
    // One line per application item of a stored database.
    QString stringDescriptionFromDatabase(const QVariantMap& database, const SystemItemHelping& helpers) const;

    // --- The items page: its bottom bars, the simulation, the inspector's popover
    QString systemItemsButtonTitle(bool isAtLeastOneSystemItemAvailable) const;
    // The system items page after a reading that failed; cause says why, with
    // the path to mend.
    QString systemItemsReadFailureText(const QString& cause) const;
    enum class ItemsPageText {
        Cancel,
        ShowErrors,
        ErrorsList,
        RevealInFileManager,
        ControlKey,
        OptionKey,
        ShiftKey,
        CommandKey,
        PowerSourceOnBattery,
        SimulatedDay,
        SimulatedTime,
        SimulatedVolumes,
        SimulatedNetworks,
        VolumeAttached,
        NetworkAvailable,
        NetworkConnected,
        NameColumn,
        ErrorColumn,
        DetachInspector,
        // What a screen reader hears of an item row besides its name and
        // description; "%1" is a condition's name.
        RowHidden,
        RowDisabled,
        RowConditionAllows,
        RowConditionPrevents,
        RowWouldStart,
        RowPreventedByItem,
        RowPreventedByConditions,
        RowPreventedByNeighbors,
    };
    QString itemsPageText(ItemsPageText text) const;

private:
    // The data folder as the user knows it: "~/..." inside the home folder.
    static QString databaseFolderForDisplay();

    QString oneOrMany(const QStringList& names, const char* one, const char* many) const;
    QString noneOneOrMany(const QStringList& names, const char* none, const char* one, const char* many) const;
    // Shows a confirmation unless the setting skipKey says not to ask again;
    // true for the first button.
    bool runConfirmationDialog(DialogPresenter& presenter, const char* skipKey, const QString& displayingLog,
                               const QString& suppressedLog, const DialogPresenter::Request& request) const;

};
