#pragma once
// The modifier keys on X11, read from the X server's pointer state: it holds
// the keyboard's modifier mask whichever window has the focus, so the keys
// held at login are seen before any window of ours exists. The usual mapping
// is taken (Mod1 Alt, Mod4 Super). Without a server the keys are unknown.
#include "platform/ModifierKeysProvider.h"

#include <QByteArray>
#include <mutex>

struct xcb_connection_t;

class XcbModifierKeysProvider : public ModifierKeysProvider {
public:
    // display: as $DISPLAY; empty takes $DISPLAY.
    explicit XcbModifierKeysProvider(const QByteArray& display = {});
    ~XcbModifierKeysProvider() override;
    XcbModifierKeysProvider(const XcbModifierKeysProvider&) = delete;
    XcbModifierKeysProvider& operator=(const XcbModifierKeysProvider&) = delete;

    std::optional<ModifierKeys> currentModifierKeys() const override;

private:
    xcb_connection_t* m_connection = nullptr;
    int m_screen = 0;
    mutable std::once_flag m_failureLogged;
};
