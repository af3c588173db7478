#include "QtModifierKeysProvider.h"

#include "foundation/DispatchQueue.h"

#include <QGuiApplication>

QtModifierKeysProvider::QtModifierKeysProvider(const QString& platformName)
    : m_onlyWithFocus(platformName.startsWith(QLatin1String("wayland")))
{
}

std::optional<ModifierKeys> QtModifierKeysProvider::currentModifierKeys() const
{
    // The engine asks from its own queues; the window system is asked from
    // the thread that owns it.
    std::optional<ModifierKeys> keys;
    dispatch_main_thread_sync([&] {
        if (m_onlyWithFocus && !QGuiApplication::focusWindow())
            return;
        const Qt::KeyboardModifiers held = QGuiApplication::queryKeyboardModifiers();
        keys = ModifierKeys { held.testFlag(Qt::ControlModifier), held.testFlag(Qt::AltModifier),
                              held.testFlag(Qt::ShiftModifier), held.testFlag(Qt::MetaModifier) };
    });
    return keys;
}
