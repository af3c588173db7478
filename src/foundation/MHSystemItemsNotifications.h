#pragma once
// Names of the notifications of the operations on the session's login items
// list, and their user-info keys.
#include <QLatin1String>

namespace MHSystemItemsNotifications {

inline constexpr QLatin1String MHReadSystemItemsDidStartNotification { "MHReadSystemItemsDidStartNotification" };
inline constexpr QLatin1String MHReadSystemItemsDidFindNewItemNotification { "MHReadSystemItemsDidFindNewItemNotification" };
inline constexpr QLatin1String MHReadSystemItemsDidEndNotification { "MHReadSystemItemsDidEndNotification" };
inline constexpr QLatin1String MHCreateSystemItemsDidStartNotification { "MHCreateSystemItemsDidStartNotification" };
// Nothing posts it; kept so that observers written against it still build.
inline constexpr QLatin1String MHCreateSystemItemsDidCreateItemNotification { "MHCreateSystemItemsDidCreateItemNotification" };
inline constexpr QLatin1String MHCreateSystemItemsDidEndNotification { "MHCreateSystemItemsDidEndNotification" };
inline constexpr QLatin1String MHDeleteSystemItemsDidStartNotification { "MHDeleteSystemItemsDidStartNotification" };
// Nothing posts it; kept so that observers written against it still build.
inline constexpr QLatin1String MHDeleteSystemItemsDidDeleteItemNotification { "MHDeleteSystemItemsDidDeleteItemNotification" };
inline constexpr QLatin1String MHDeleteSystemItemsDidEndNotification { "MHDeleteSystemItemsDidEndNotification" };
inline constexpr QLatin1String MHUninstallLanternwickDidStartNotification { "MHUninstallLanternwickDidStartNotification" };
inline constexpr QLatin1String MHUninstallLanternwickDidEndNotification { "MHUninstallLanternwickDidEndNotification" };
inline constexpr QLatin1String MHSystemItemsChangeNotificationDidChange { "MHSystemItemsChangeNotificationDidChange" };

// User-info keys: arrays of item records.
inline constexpr QLatin1String items { "items" };
inline constexpr QLatin1String failedItems { "failedItems" };
// Text: why a read could not list the entries, with the path to mend; only
// in the end of a read that failed.
inline constexpr QLatin1String readError { "readError" };

} // namespace MHSystemItemsNotifications
