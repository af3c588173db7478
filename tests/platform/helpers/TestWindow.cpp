// Shows a window on $DISPLAY that names its process (_NET_WM_PID), then writes
// its pid and window to "<argv[0]>.shown" and stays until that file is removed
// (at most 30 s) or the display goes. "--anonymous" leaves the window without
// _NET_WM_PID; "--busy SECONDS" first keeps the processor busy that long.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <xcb/xcb.h>

int main(int argc, char** argv)
{
    bool anonymous = false;
    double busySeconds = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--anonymous") == 0)
            anonymous = true;
        else if (std::strcmp(argv[i], "--busy") == 0 && i + 1 < argc)
            busySeconds = std::atof(argv[++i]);
    }
    const auto busyUntil = std::chrono::steady_clock::now() + std::chrono::duration<double>(busySeconds);
    while (std::chrono::steady_clock::now() < busyUntil) {
    }

    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection))
        return 1;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const xcb_window_t window = xcb_generate_id(connection);
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 100, 100, 0,
        XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
    const char* name = "_NET_WM_PID";
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(connection,
        xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    if (!atom)
        return 1;
    const uint32_t pid = static_cast<uint32_t>(getpid());
    if (!anonymous)
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, atom->atom, XCB_ATOM_CARDINAL, 32, 1, &pid);
    free(atom);
    xcb_map_window(connection, window);
    // A round trip: the server has mapped the window before anyone is told.
    free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));

    const std::string marker = std::string(argv[0]) + ".shown";
    const std::string partial = marker + ".partial";
    FILE* out = std::fopen(partial.c_str(), "w");
    if (!out)
        return 1;
    std::fprintf(out, "%u %u\n", pid, window);
    std::fclose(out);
    if (std::rename(partial.c_str(), marker.c_str()) != 0)
        return 1;
    for (int i = 0; i < 3000 && access(marker.c_str(), F_OK) == 0 && !xcb_connection_has_error(connection); ++i) {
        free(xcb_poll_for_event(connection));
        usleep(10 * 1000);
    }
    xcb_disconnect(connection);
    return 0;
}
