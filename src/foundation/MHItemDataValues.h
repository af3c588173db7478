#pragma once
// Values of the "type" and "group" keys of the item record (MHItemDataKeys).
#include <QLatin1String>

namespace MHItemDataValues {

inline constexpr QLatin1String file { "file" };
inline constexpr QLatin1String delay { "delay" };
inline constexpr QLatin1String waitprevious { "waitprevious" };
inline constexpr QLatin1String conditionalprevious { "conditionalprevious" };
inline constexpr QLatin1String application { "application" };
inline constexpr QLatin1String ignored { "ignored" };

} // namespace MHItemDataValues
