#pragma once
// The layout strings of the settings name a view's distance to its
// container's edges ("H:|-12-[view]-12-|"). Only that plain form is read;
// Qt layouts do everything else.
#include <QString>
#include <optional>
#include <utility>

// Leading and trailing margins of viewName; nothing for any other form.
std::optional<std::pair<int, int>> edgeMarginsFromVisualFormat(const QString& format, const QString& viewName);
