#pragma once
// For the helper programs the launch tests start: keeps running, idle, until
// a file is removed (at most 30 s). It waits as an idle program does, for an
// event: a timed sleep would tell that the program is still starting.
#include <chrono>
#include <poll.h>
#include <string>
#include <sys/inotify.h>
#include <unistd.h>

inline void stayWhileExists(const std::string& path)
{
    const int watch = inotify_init1(IN_CLOEXEC);
    if (watch < 0)
        return;
    if (inotify_add_watch(watch, path.c_str(), IN_ATTRIB | IN_DELETE_SELF) >= 0) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        pollfd events { watch, POLLIN, 0 };
        char buffer[4096];
        while (access(path.c_str(), F_OK) == 0 && std::chrono::steady_clock::now() < deadline) {
            if (poll(&events, 1, 1000) > 0 && read(watch, buffer, sizeof buffer) < 0)
                break;
        }
    }
    close(watch);
}
