#pragma once
// Keys of the item record sent from the application to the service, also used
// by the drag record of item rows.
#include <QLatin1String>

namespace MHItemDataKeys {

inline constexpr QLatin1String id { "id" };
// Not part of any record; kept for the stable key set.
inline constexpr QLatin1String objectID { "objectID" };
inline constexpr QLatin1String name { "name" };
inline constexpr QLatin1String description { "description" };
// Inside the application only: icons never cross to the service.
inline constexpr QLatin1String icon { "icon" };
// One of MHItemDataValues file, delay, waitprevious, conditionalprevious.
inline constexpr QLatin1String type { "type" };
inline constexpr QLatin1String path { "path" };
// A file item the user set not to start: true, else absent.
inline constexpr QLatin1String disabled { "disabled" };
inline constexpr QLatin1String delay { "delay" };
inline constexpr QLatin1String mode { "mode" };
inline constexpr QLatin1String index { "index" };
// Not part of any record; kept for the stable key set.
inline constexpr QLatin1String missing { "missing" };
// One of MHItemDataValues application, ignored.
inline constexpr QLatin1String group { "group" };

} // namespace MHItemDataKeys
