#pragma once
// The kinds of state the context keeps one object of.
#include <array>

enum class ApplicationStateKind {
    SearchMissingItems,
    DelayBeforeExecution,
    ExecuteItems,
    AutoClose,
    EnableSystemItemsChange,
    DisableSystemItemsChange,
    ReadSystemItems,
    CreateSystemItems,
    DeleteSystemItems,
    UninstallLanternwick,
};

inline constexpr int ApplicationStateKindCount = 10;
