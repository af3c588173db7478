#pragma once
// The modifier keys held at one moment.
struct ModifierKeys {
    bool control = false;
    bool option = false; // Alt
    bool shift = false;
    bool command = false; // Meta ("Super")

    bool operator==(const ModifierKeys&) const = default;
};
