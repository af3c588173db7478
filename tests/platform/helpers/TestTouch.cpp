// Writes how it was started to "<argv[0]>.ran": every argument, argv[0] first,
// then the inherited activation token if any, each ended by a NUL byte. Before
// that, what it inherited besides to "<argv[0]>.inherited", one line each:
// whether it leads its own session, its open descriptors above stderr, whether
// SIGPIPE is ignored, the launch variables of GIO it sees and the mark of
// the launch it belongs to. With "--stay" as first argument it keeps running,
// idle, until that file is removed (at most 30 s), so that tests can find it
// among the running processes.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <string>
#include <unistd.h>

#include "support/StayWhileExists.h"

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
