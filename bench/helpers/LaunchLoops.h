#pragma once
// The floors of a login: each starts its programs in turn and nothing more,
// then collects them. What the application spends per item beyond these
// loops is its own cost.
// - spawnLoop: posix_spawn over programs, each given one argument (or none);
// - gioLoop: GIO launches of desktop entries as the application makes them
//   (the launcher GIO_LAUNCH_DESKTOP names, its spawn flags, the session bus
//   held for GIO's launch announcements).
// Each answers an error message, empty on success.
#include <cstring>
#include <gio/gdesktopappinfo.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace launch_loops {

inline void collect(const std::vector<pid_t>& pids)
{
    for (const pid_t pid : pids)
        waitpid(pid, nullptr, 0);
}

inline std::string spawnLoop(const std::vector<std::string>& programs, const char* argument)
{
    std::vector<pid_t> pids;
    std::string failure;
    for (const std::string& program : programs) {
        char* const arguments[] = { const_cast<char*>(program.c_str()), const_cast<char*>(argument), nullptr };
        pid_t pid = 0;
        if (const int error = posix_spawn(&pid, program.c_str(), nullptr, nullptr, arguments, environ); error != 0) {
            failure = program + ": " + std::strerror(error);
            break;
        }
        pids.push_back(pid);
    }
    collect(pids);
    return failure;
}

inline std::string gioLoop(const std::vector<std::string>& entries)
{
    GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    std::vector<pid_t> pids;
    std::string failure;
    for (const std::string& path : entries) {
        GDesktopAppInfo* entry = g_desktop_app_info_new_from_filename(path.c_str());
        GAppLaunchContext* context = g_app_launch_context_new();
        GError* error = nullptr;
        const auto launched = [](GDesktopAppInfo*, GPid pid, gpointer pids) { static_cast<std::vector<pid_t>*>(pids)->push_back(pid); };
        const bool succeeded = entry && g_desktop_app_info_launch_uris_as_manager(entry, nullptr, context,
            GSpawnFlags(G_SPAWN_SEARCH_PATH | G_SPAWN_DO_NOT_REAP_CHILD | G_SPAWN_LEAVE_DESCRIPTORS_OPEN), nullptr, nullptr,
            launched, &pids, &error);
        g_object_unref(context);
        if (entry)
            g_object_unref(entry);
        if (!succeeded) {
            failure = path + ": " + (error ? error->message : "not an application");
            g_clear_error(&error);
            break;
        }
    }
    collect(pids);
    if (bus)
        g_object_unref(bus);
    return failure;
}

} // namespace launch_loops
