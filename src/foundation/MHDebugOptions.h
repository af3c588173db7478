#pragma once
// Keys of the optional debug options file (each a Boolean), read by the
// application and sent to the service.
#include <QLatin1String>

namespace MHDebugOptions {

inline constexpr QLatin1String PreventSave { "PreventSave" };
inline constexpr QLatin1String PreventFileItemExecution { "PreventFileItemExecution" };
inline constexpr QLatin1String PreventDelayItemExecution { "PreventDelayItemExecution" };
inline constexpr QLatin1String PreventSystemItemsReading { "PreventSystemItemsReading" };
inline constexpr QLatin1String PreventSystemItemsCreating { "PreventSystemItemsCreating" };
inline constexpr QLatin1String PreventSystemItemsDeleting { "PreventSystemItemsDeleting" };
inline constexpr QLatin1String PreventUninstallingLanternwick { "PreventUninstallingLanternwick" };

} // namespace MHDebugOptions
