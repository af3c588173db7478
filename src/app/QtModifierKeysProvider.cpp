#include "QtModifierKeysProvider.h"

#include "foundation/DispatchQueue.h"

#include <QGuiApplication>

ModifierKeys QtModifierKeysProvider::currentModifierKeys() const
{
    // The engine asks from its own queues; the window system is asked from
    // the thread that owns it.
    Qt::KeyboardModifiers held;
    dispatch_main_thread_sync([&held] { held = QGuiApplication::queryKeyboardModifiers(); });
    ModifierKeys keys;
    keys.control = held.testFlag(Qt::ControlModifier);
    keys.option = held.testFlag(Qt::AltModifier);
    keys.shift = held.testFlag(Qt::ShiftModifier);
    keys.command = held.testFlag(Qt::MetaModifier);
    return keys;
}
