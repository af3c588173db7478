// lanternwick-launch PROGRAM [ARGUMENT...]: the program GIO runs to start a
// desktop entry, in place of its own gio-launch-desktop. GIO starts it
// without forking the application (the kernel would copy the application's
// whole memory map for every item), and it prepares what the fork used to:
// the program leads a session of its own, so that its descendants are still
// known as its own after it ends; it keeps none of the application's
// descriptors and none of its signal settings; and it learns its process id
// as gio-launch-desktop would tell it.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PROGRAM [ARGUMENT...]\n", argv[0]);
        return 127;
    }
    setsid();
    closefrom(3);
    for (const int signal : { SIGPIPE, SIGCHLD, SIGINT, SIGTERM, SIGHUP })
        std::signal(signal, SIG_DFL);
    sigset_t nothing;
    sigemptyset(&nothing);
    sigprocmask(SIG_SETMASK, &nothing, nullptr);

    unsetenv("GIO_LAUNCH_DESKTOP");
    char pid[24];
    std::snprintf(pid, sizeof pid, "%ld", static_cast<long>(getpid()));
    setenv("GIO_LAUNCHED_DESKTOP_FILE_PID", pid, 1);
    execvp(argv[1], argv + 1);
    std::fprintf(stderr, "%s: %s could not be started: %s\n", argv[0], argv[1], std::strerror(errno));
    return 127;
}
