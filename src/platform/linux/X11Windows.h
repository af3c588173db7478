#pragma once
// The windows of the session's X11 display: which process owns which, and asking the window manager to minimise one. Nothing of it
// exists on Wayland, where a launcher can neither see nor hide the windows of
// other programs. Safe to use from several threads.
#include <QList>
#include <QString>
#include <cstdint>
#include <memory>

typedef struct xcb_connection_t xcb_connection_t;

class X11Windows {
public:
    struct Window {
        uint32_t id = 0;
        qint64 pid = 0;
    };

    // Null on Wayland, without a display, or when the display cannot be reached.
    static std::shared_ptr<X11Windows> connectToSessionDisplay();
    ~X11Windows();
    X11Windows(const X11Windows&) = delete;
    X11Windows& operator=(const X11Windows&) = delete;

    // The windows the window manager lists (_NET_CLIENT_LIST), shown or
    // minimised; without a window manager, the mapped top-level windows. The
    // owner is the process the window names (_NET_WM_PID), else the one the
    // server knows for its connection (X-Resource extension); windows whose
    // process neither tells are left out.
    QList<Window> windowsWithOwners() const;
    // The ICCCM request to iconify a window, which the window manager honours.
    void minimise(uint32_t window) const;

private:
    X11Windows(xcb_connection_t* connection, uint32_t root);
    QList<uint32_t> topLevelWindows() const;
    uint32_t atom(const char* name) const;
    // The processes of the windows' connections by the X-Resource extension; 0 where unknown.
    QList<qint64> clientProcesses(const QList<uint32_t>& windows) const;

    xcb_connection_t* const m_connection;
    const uint32_t m_root;
    const uint32_t m_clientListAtom;
    const uint32_t m_pidAtom;
    const uint32_t m_changeStateAtom;
    // The bits of a resource ID that a connection chooses; the rest names the connection.
    const uint32_t m_resourceMask;
    // A request of an extension the server lacks would end the connection.
    const bool m_hasResourceExtension;
};
