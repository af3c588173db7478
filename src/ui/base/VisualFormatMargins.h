#pragma once
// The layout strings of the settings name a view's distance to its
// container's edges ("H:|-12-[view]-12-|"). Only that plain form is read;
// Qt layouts do everything else.
#include <QMargins>
#include <QString>
#include <optional>
#include <utility>

class UserDefaults;

// Leading and trailing margins of viewName; nothing for any other form.
std::optional<std::pair<int, int>> edgeMarginsFromVisualFormat(const QString& format, const QString& viewName);
// The margins of a main window page, from the settings' two layout
// strings; 0 on the sides of a string that is not of the plain form.
QMargins mainWindowPageMargins(const UserDefaults& settings);
