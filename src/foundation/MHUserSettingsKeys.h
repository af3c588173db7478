#pragma once
// The keys of the user settings that the preferences and the observers name
// directly, in a fixed order.
#include <array>

struct MHUserSettingsKeysRecord {
    const char* isNotificationCenterEnabled;
    const char* isLanternwickEnabled;
    const char* isItemsExecutionAfterLaunchEnabled;
    const char* isItemsExecutionAfterAwakingFromSleepEnabled;
    const char* isItemsExecutionOnManualLaunchEnabled;
    const char* isAutoCloseAfterItemsExecutionEnabled;
    const char* delayBeforeAutoClosingAfterItemsExecution;
    const char* isDelayBeforeItemsExecutionEnabled;
    const char* delayBeforeItemsExecution;
    const char* isDelayBetweenItemsDuringExecutionEnabled;
    const char* delayBetweenItemsDuringExecution;
    const char* applicationRunMode;
    const char* itemsListsSize;
    const char* showMainWindowAfterLaunch;
    const char* showWelcomeWindow;
    const char* showExecutionProgressInDockIcon;
    const char* lastBootTime;
    const char* lastLoginTime;
    const char* skipDisableLanternwickDialog;
    const char* skipDeleteSystemItemsDialog;
    const char* logVerbosity;
    const char* logToFile;
    const char* loggingLogFilesToKeep;
    const char* loggingLogObservations;
    const char* loggingLogViews;
    const char* sUFeed;

    constexpr std::array<const char*, 26> inOrder() const
    {
        return {
            isNotificationCenterEnabled,
            isLanternwickEnabled,
            isItemsExecutionAfterLaunchEnabled,
            isItemsExecutionAfterAwakingFromSleepEnabled,
            isItemsExecutionOnManualLaunchEnabled,
            isAutoCloseAfterItemsExecutionEnabled,
            delayBeforeAutoClosingAfterItemsExecution,
            isDelayBeforeItemsExecutionEnabled,
            delayBeforeItemsExecution,
            isDelayBetweenItemsDuringExecutionEnabled,
            delayBetweenItemsDuringExecution,
            applicationRunMode,
            itemsListsSize,
            showMainWindowAfterLaunch,
            showWelcomeWindow,
            showExecutionProgressInDockIcon,
            lastBootTime,
            lastLoginTime,
            skipDisableLanternwickDialog,
            skipDeleteSystemItemsDialog,
            logVerbosity,
            logToFile,
            loggingLogFilesToKeep,
            loggingLogObservations,
            loggingLogViews,
            sUFeed,
        };
    }
};

inline constexpr MHUserSettingsKeysRecord MHUserSettingsKeys {
    "IsNotificationCenterEnabled",
    "IsLanternwickEnabled",
    "IsItemsExecutionAfterLaunchEnabled",
    "IsItemsExecutionAfterAwakingFromSleepEnabled",
    "IsItemsExecutionOnManualLaunchEnabled",
    "IsAutoCloseAfterItemsExecutionEnabled",
    "DelayBeforeAutoClosingAfterItemsExecution",
    "IsDelayBeforeItemsExecutionEnabled",
    "DelayBeforeItemsExecution",
    "IsDelayBetweenItemsDuringExecutionEnabled",
    "DelayBetweenItemsDuringExecution",
    "ApplicationRunMode",
    "ItemsListsSize",
    "ShowMainWindowAfterLaunch",
    "ShowWelcomeWindow",
    "ShowExecutionProgressInDockIcon",
    "LastBootTime",
    "LastLoginTime",
    "SkipDisableLanternwickDialog",
    "SkipDeleteSystemItemsDialog",
    "LogVerbosity",
    "LogToFile",
    "Logging.LogFilesToKeep",
    "Logging.LogObservations",
    "Logging.LogViews",
    "SUFeed",
};
