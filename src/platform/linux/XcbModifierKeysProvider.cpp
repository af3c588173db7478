#include "platform/linux/XcbModifierKeysProvider.h"

#include "foundation/Log.h"

#include <cstdlib>
#include <xcb/xcb.h>

XcbModifierKeysProvider::XcbModifierKeysProvider(const QByteArray& display)
    : m_connection(xcb_connect(display.isEmpty() ? nullptr : display.constData(), &m_screen))
{
}

XcbModifierKeysProvider::~XcbModifierKeysProvider()
{
    xcb_disconnect(m_connection);
}

std::optional<ModifierKeys> XcbModifierKeysProvider::currentModifierKeys() const
{
    xcb_query_pointer_reply_t* reply = nullptr;
    if (!xcb_connection_has_error(m_connection)) {
        xcb_screen_iterator_t screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection));
        for (int index = 0; index < m_screen && screen.rem; ++index)
            xcb_screen_next(&screen);
        if (screen.rem)
            reply = xcb_query_pointer_reply(m_connection, xcb_query_pointer(m_connection, screen.data->root), nullptr);
    }
    if (!reply) {
        std::call_once(m_failureLogged, [] { LOG_ERROR("Failed reading the modifier keys from the X server"); });
        return std::nullopt;
    }
    const uint16_t mask = reply->mask;
    std::free(reply);
    return ModifierKeys { bool(mask & XCB_MOD_MASK_CONTROL), bool(mask & XCB_MOD_MASK_1), bool(mask & XCB_MOD_MASK_SHIFT),
                          bool(mask & XCB_MOD_MASK_4) };
}
