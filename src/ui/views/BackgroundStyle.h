#pragma once
// The background a cell is drawn on: Dark is the selected row's highlight.
// The values are the styles IconBuilder::styled() takes.
enum class BackgroundStyle : int {
    Light = 0,
    Dark = 1,
};
