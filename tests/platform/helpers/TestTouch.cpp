// Writes how it was started to "<argv[0]>.ran": every argument, argv[0] first,
// then the inherited activation token if any, each ended by a NUL byte. Before
// that, what it inherited besides to "<argv[0]>.inherited", one line each:
// whether it leads its own session, its open descriptors above stderr, whether
// SIGPIPE is ignored, the launch variables of GIO it sees and the mark of
// the launch it belongs to. With "--stay" as first argument it keeps running,
// idle, until that file is removed (at most 30 s), so that tests can find it
// among the running processes.
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <poll.h>
#include <sys/inotify.h>
#include <string>
#include <unistd.h>

namespace {

bool writeInherited(const std::string& path)
{
    FILE* out = std::fopen(path.c_str(), "w");
    if (!out)
        return false;
    std::fprintf(out, "session leader: %s\n", getsid(0) == getpid() ? "yes" : "no");
    std::fprintf(out, "descriptors:");
    if (DIR* descriptors = opendir("/proc/self/fd")) {
        while (const dirent* entry = readdir(descriptors)) {
            const int descriptor = std::atoi(entry->d_name);
            if (descriptor > 2 && descriptor != dirfd(descriptors) && descriptor != fileno(out))
                std::fprintf(out, " %d", descriptor);
        }
        closedir(descriptors);
    }
    struct sigaction pipe = {};
    sigaction(SIGPIPE, nullptr, &pipe);
    std::fprintf(out, "\nSIGPIPE ignored: %s\n", pipe.sa_handler == SIG_IGN ? "yes" : "no");
    const char* launchedPid = std::getenv("GIO_LAUNCHED_DESKTOP_FILE_PID");
    std::fprintf(out, "launched pid is its own: %s\n",
                 launchedPid && std::atol(launchedPid) == getpid() ? "yes" : "no");
    std::fprintf(out, "GIO_LAUNCH_DESKTOP: %s\n", std::getenv("GIO_LAUNCH_DESKTOP") ? "set" : "unset");
    const char* mark = std::getenv("LANTERNWICK_LAUNCHED_ITEM");
    std::fprintf(out, "launch mark: %s\n", mark ? mark : "unset");
    return std::fclose(out) == 0;
}

// Waits as an idle program does, for an event: a timed sleep would tell
// that the program is still starting.
void stayWhileExists(const std::string& path)
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

} // namespace

int main(int argc, char** argv)
{
    if (!writeInherited(std::string(argv[0]) + ".inherited"))
        return 1;
    const std::string marker = std::string(argv[0]) + ".ran";
    const std::string partial = marker + ".partial";
    FILE* out = std::fopen(partial.c_str(), "wb");
    if (!out)
        return 1;
    for (int i = 0; i < argc; ++i)
        std::fwrite(argv[i], 1, std::strlen(argv[i]) + 1, out);
    if (const char* token = std::getenv("DESKTOP_STARTUP_ID")) {
        const std::string entry = std::string("DESKTOP_STARTUP_ID=") + token;
        std::fwrite(entry.c_str(), 1, entry.size() + 1, out);
    }
    std::fclose(out);
    // Renamed into place so that a reader never sees half of it.
    if (std::rename(partial.c_str(), marker.c_str()) != 0)
        return 1;
    if (argc > 1 && std::strcmp(argv[1], "--stay") == 0)
        stayWhileExists(marker);
    return 0;
}
