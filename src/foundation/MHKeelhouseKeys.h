#pragma once
// Keys of the system item record exchanged with the service.
#include <QLatin1String>

namespace MHKeelhouseKeys {

// Not part of any record; kept for the stable key set.
inline constexpr QLatin1String status { "status" };
inline constexpr QLatin1String data { "data" };
// The platform's own handle of a list entry: meaningful only inside the
// process that enumerated the list, so it is removed before a record is sent.
inline constexpr QLatin1String ref { "ref" };
inline constexpr QLatin1String path { "path" };
inline constexpr QLatin1String name { "name" };
inline constexpr QLatin1String hidden { "hidden" };
// Inside the service only: the entry is handed back switched off.
inline constexpr QLatin1String disabled { "disabled" };
inline constexpr QLatin1String reason { "reason" };
// A numeric status code of the failure.
inline constexpr QLatin1String error { "error" };

} // namespace MHKeelhouseKeys
