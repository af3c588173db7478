#pragma once
// Names of the execution engine's notifications and their user-info keys.
#include <QLatin1String>

namespace MHExecuteNotifications {

inline constexpr QLatin1String MHExecuteDidCancelNotification { "MHExecuteDidCancelNotification" };
inline constexpr QLatin1String MHExecuteDelayDidStartNotification { "MHExecuteDelayDidStartNotification" };
inline constexpr QLatin1String MHExecuteDelayDidTickNotification { "MHExecuteDelayDidTickNotification" };
inline constexpr QLatin1String MHExecuteDelayDidEndNotification { "MHExecuteDelayDidEndNotification" };
inline constexpr QLatin1String MHExecuteDidStartNotification { "MHExecuteDidStartNotification" };
inline constexpr QLatin1String MHExecuteDidStartItemNotification { "MHExecuteDidStartItemNotification" };
inline constexpr QLatin1String MHExecuteDidTickItemNotification { "MHExecuteDidTickItemNotification" };
inline constexpr QLatin1String MHExecuteDidFailItemNotification { "MHExecuteDidFailItemNotification" };
inline constexpr QLatin1String MHExecuteDidEndItemNotification { "MHExecuteDidEndItemNotification" };
inline constexpr QLatin1String MHExecuteDidEndNotification { "MHExecuteDidEndNotification" };
inline constexpr QLatin1String MHExecuteAutoCloseDidStartNotification { "MHExecuteAutoCloseDidStartNotification" };
inline constexpr QLatin1String MHExecuteAutoCloseDidTickNotification { "MHExecuteAutoCloseDidTickNotification" };
inline constexpr QLatin1String MHExecuteAutoCloseDidEndNotification { "MHExecuteAutoCloseDidEndNotification" };

// User-info keys.
inline constexpr QLatin1String itemID { "itemID" };
inline constexpr QLatin1String itemType { "itemType" };
inline constexpr QLatin1String itemDisplayName { "itemDisplayName" };
inline constexpr QLatin1String previousItemDisplayName { "previousItemDisplayName" };
// Seconds left of a countdown, a double.
inline constexpr QLatin1String remainingTime { "remainingTime" };
inline constexpr QLatin1String error { "error" };

} // namespace MHExecuteNotifications
