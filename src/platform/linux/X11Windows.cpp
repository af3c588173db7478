#include "platform/linux/X11Windows.h"

#include "foundation/Log.h"

#include <QByteArray>
#include <cstdlib>
#include <vector>
#include <xcb/res.h>
#include <xcb/xcb.h>

namespace {

// ICCCM WM_STATE value of a minimised window.
constexpr uint32_t kIconicState = 3;

template <typename Reply>
using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply>
ReplyPtr<Reply> takeReply(Reply* reply)
{
    return ReplyPtr<Reply>(reply, &std::free);
}

} // namespace

std::shared_ptr<X11Windows> X11Windows::connectToSessionDisplay()
{
    const QByteArray display = qgetenv("DISPLAY");
    // Under Wayland DISPLAY may name Xwayland, which sees only some windows.
    if (display.isEmpty() || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return nullptr;
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(display.constData(), &screenNumber);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        LOG_WARN("The X11 display %1 cannot be reached: windows are not looked at.", QString::fromLocal8Bit(display));
        return nullptr;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int index = 0; index < screenNumber && screens.rem > 0; ++index)
        xcb_screen_next(&screens);
    return std::shared_ptr<X11Windows>(new X11Windows(connection, screens.data->root));
}

X11Windows::X11Windows(xcb_connection_t* connection, uint32_t root)
    : m_connection(connection)
    , m_root(root)
    , m_clientListAtom(atom("_NET_CLIENT_LIST"))
    , m_pidAtom(atom("_NET_WM_PID"))
    , m_changeStateAtom(atom("WM_CHANGE_STATE"))
    , m_resourceMask(xcb_get_setup(connection)->resource_id_mask)
    , m_hasResourceExtension(xcb_get_extension_data(connection, &xcb_res_id)->present)
{
}

X11Windows::~X11Windows()
{
    xcb_disconnect(m_connection);
}

uint32_t X11Windows::atom(const char* name) const
{
    const auto reply = takeReply(xcb_intern_atom_reply(m_connection,
        xcb_intern_atom(m_connection, 0, static_cast<uint16_t>(qstrlen(name)), name), nullptr));
    return reply ? reply->atom : uint32_t(XCB_ATOM_NONE);
}

QList<uint32_t> X11Windows::topLevelWindows() const
{
    const auto clients = takeReply(xcb_get_property_reply(m_connection,
        xcb_get_property(m_connection, 0, m_root, m_clientListAtom, XCB_ATOM_WINDOW, 0, 1 << 16), nullptr));
    QList<uint32_t> windows;
    if (clients && clients->type == XCB_ATOM_WINDOW && clients->format == 32) {
        const auto* ids = static_cast<const uint32_t*>(xcb_get_property_value(clients.get()));
        windows = QList<uint32_t>(ids, ids + xcb_get_property_value_length(clients.get()) / 4);
        return windows;
    }
    const auto tree = takeReply(xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, m_root), nullptr));
    if (!tree)
        return windows;
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    QList<xcb_get_window_attributes_cookie_t> cookies;
    for (int index = 0; index < xcb_query_tree_children_length(tree.get()); ++index)
        cookies.append(xcb_get_window_attributes(m_connection, children[index]));
    for (int index = 0; index < cookies.size(); ++index) {
        const auto attributes = takeReply(xcb_get_window_attributes_reply(m_connection, cookies[index], nullptr));
        if (attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE)
            windows.append(children[index]);
    }
    return windows;
}

QList<X11Windows::Window> X11Windows::windowsWithOwners() const
{
    const QList<uint32_t> windows = topLevelWindows();
    QList<xcb_get_property_cookie_t> cookies;
    for (const uint32_t window : windows)
        cookies.append(xcb_get_property(m_connection, 0, window, m_pidAtom, XCB_ATOM_CARDINAL, 0, 1));
    QList<Window> result;
    QList<uint32_t> unnamed;
    for (int index = 0; index < cookies.size(); ++index) {
        const auto pid = takeReply(xcb_get_property_reply(m_connection, cookies[index], nullptr));
        if (pid && pid->format == 32 && xcb_get_property_value_length(pid.get()) == 4)
            result.append({ windows[index], *static_cast<const uint32_t*>(xcb_get_property_value(pid.get())) });
        else
            unnamed.append(windows[index]);
    }
    const QList<qint64> owners = clientProcesses(unnamed);
    for (int index = 0; index < owners.size(); ++index) {
        if (owners[index] > 0)
            result.append({ unnamed[index], owners[index] });
    }
    return result;
}

QList<qint64> X11Windows::clientProcesses(const QList<uint32_t>& windows) const
{
    QList<qint64> pids(windows.size(), 0);
    if (windows.isEmpty() || !m_hasResourceExtension)
        return pids;
    // Any resource of a connection names the connection; one request asks for all.
    std::vector<xcb_res_client_id_spec_t> specs;
    for (const uint32_t window : windows)
        specs.push_back({ window, XCB_RES_CLIENT_ID_MASK_LOCAL_CLIENT_PID });
    const auto reply = takeReply(xcb_res_query_client_ids_reply(m_connection,
        xcb_res_query_client_ids(m_connection, static_cast<uint32_t>(specs.size()), specs.data()), nullptr));
    if (!reply)
        return pids;
    for (xcb_res_client_id_value_iterator_t ids = xcb_res_query_client_ids_ids_iterator(reply.get()); ids.rem > 0;
         xcb_res_client_id_value_next(&ids)) {
        const xcb_res_client_id_value_t* id = ids.data;
        if (!(id->spec.mask & XCB_RES_CLIENT_ID_MASK_LOCAL_CLIENT_PID) || xcb_res_client_id_value_value_length(id) != 1)
            continue;
        const qint64 pid = *xcb_res_client_id_value_value(id);
        // The reply names the connection by its resource base, not by the window asked about.
        for (int index = 0; index < windows.size(); ++index) {
            if ((windows[index] & ~m_resourceMask) == (id->spec.client & ~m_resourceMask))
                pids[index] = pid;
        }
    }
    return pids;
}

void X11Windows::minimise(uint32_t window) const
{
    xcb_client_message_event_t event {};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = m_changeStateAtom;
    event.data.data32[0] = kIconicState;
    xcb_send_event(m_connection, 0, m_root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
        reinterpret_cast<const char*>(&event));
    xcb_flush(m_connection);
}
