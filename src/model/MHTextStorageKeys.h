#pragma once
// The words of the database file: keys of its records and the words that stand
// for item types, startup modes and condition types. They are the file format,
// so they never change.
#include <QLatin1String>

namespace MHTextStorageKeys {

// Root keys.
inline constexpr QLatin1String version { "version" };
inline constexpr QLatin1String application { "application" };
inline constexpr QLatin1String ignored { "ignored" };
inline constexpr QLatin1String conditions { "conditions" };

// Item keys.
inline constexpr QLatin1String itemType { "type" };
inline constexpr QLatin1String itemPath { "path" };
inline constexpr QLatin1String itemStartupMode { "startupMode" };
inline constexpr QLatin1String itemDelay { "delay" };
inline constexpr QLatin1String itemMode { "mode" };
inline constexpr QLatin1String itemConditions { "conditions" };

// Item types.
inline constexpr QLatin1String itemTypeFile { "file" };
inline constexpr QLatin1String itemTypeDelay { "delay" };
inline constexpr QLatin1String itemTypeWaitPrevious { "waitPrevious" };
inline constexpr QLatin1String itemTypeConditionalPrevious { "conditionalPrevious" };

// Startup modes.
inline constexpr QLatin1String startupModeShown { "shown" };
inline constexpr QLatin1String startupModeHidden { "hidden" };
inline constexpr QLatin1String startupModeDisabled { "disabled" };

// Condition keys.
inline constexpr QLatin1String conditionType { "type" };
inline constexpr QLatin1String conditionName { "name" };

// Condition types.
inline constexpr QLatin1String conditionTypeSchedule { "schedule" };
inline constexpr QLatin1String conditionTypeHotkey { "hotkey" };
inline constexpr QLatin1String conditionTypePowerSource { "powerSource" };
inline constexpr QLatin1String conditionTypeVolume { "volume" };
inline constexpr QLatin1String conditionTypeNetwork { "network" };

// Schedule keys.
inline constexpr QLatin1String schedules { "schedules" };
inline constexpr QLatin1String scheduleDay { "day" };
inline constexpr QLatin1String scheduleFrom { "from" };
inline constexpr QLatin1String scheduleTo { "to" };

// Condition data keys.
inline constexpr QLatin1String hotkeyCombination { "hotkeyCombination" };
inline constexpr QLatin1String hotkeyStatus { "hotkeyStatus" };
inline constexpr QLatin1String powerSourceType { "powerSourceType" };
inline constexpr QLatin1String volumePath { "volumePath" };
inline constexpr QLatin1String volumeStatus { "volumeStatus" };
inline constexpr QLatin1String networkName { "networkName" };
inline constexpr QLatin1String networkMode { "networkMode" };
inline constexpr QLatin1String networkStatus { "networkStatus" };

// The number written under "version".
inline constexpr qint64 currentVersion = 5;

} // namespace MHTextStorageKeys
