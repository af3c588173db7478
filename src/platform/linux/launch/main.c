// lanternwick-launch PROGRAM [ARGUMENT...]: the program GIO runs to start a
// desktop entry, in place of its own gio-launch-desktop. GIO starts it
// without forking the application (the kernel would copy the application's
// whole memory map for every item), and it prepares what the fork used to:
// the program leads a session of its own, so that its descendants are still
// known as its own after it ends; it keeps none of the application's
// descriptors and none of its signal settings. Like gio-launch-desktop, it
// tells the program its process id and gives its output to the journal
// under the program's own name.
//
// It is plain C, linked statically against a small C library: it runs once
// for every item of a login, and what its start costs is paid by each.
#define _GNU_SOURCE
#include "platform/linux/launch/ChildSetup.h"

#include <dirent.h>
#include <errno.h>
#include <limits.h>
#include <stdbool.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/un.h>
#include <unistd.h>

// Every descriptor from the first on, by one call where the kernel has it.
static void closeFrom(int first)
{
    if (syscall(SYS_close_range, (unsigned)first, ~0U, 0U) == 0)
        return;
    DIR* folder = opendir("/proc/self/fd");
    if (!folder)
        return;
    const int own = dirfd(folder);
    for (const struct dirent* entry; (entry = readdir(folder));) {
        const int descriptor = atoi(entry->d_name);
        if (descriptor >= first && descriptor != own)
            close(descriptor);
    }
    closedir(folder);
}

// A file the kernel cannot run (a script without a "#!" line) is read by the
// shell, as the C library's execvp does it.
static void execute(const char* file, char** argv)
{
    execv(file, argv);
    if (errno != ENOEXEC)
        return;
    int count = 0;
    while (argv[count])
        ++count;
    char* shell[count + 2];
    shell[0] = "/bin/sh";
    shell[1] = (char*)file;
    memcpy(shell + 2, argv + 1, (size_t)count * sizeof *argv);
    execv(shell[0], shell);
}

// What execvp does, the same whatever C library the launcher is built with:
// a name without a slash is looked up in $PATH, in order, passing over
// folders where it is missing or may not be run.
static void run(char** argv)
{
    const char* name = argv[0];
    if (strchr(name, '/')) {
        execute(name, argv);
        return;
    }
    const char* path = getenv("PATH");
    if (!path)
        path = "/bin:/usr/bin";
    bool denied = false;
    for (const char* folder = path;; ++folder) {
        const char* end = strchrnul(folder, ':');
        char file[PATH_MAX];
        // An empty folder is the current one.
        const int length = end == folder ? snprintf(file, sizeof file, "%s", name)
                                         : snprintf(file, sizeof file, "%.*s/%s", (int)(end - folder), folder, name);
        if (length > 0 && (size_t)length < sizeof file) {
            execute(file, argv);
            if (errno == EACCES)
                denied = true;
            else if (errno != ENOENT && errno != ENOTDIR && errno != ESTALE && errno != ENODEV && errno != ETIMEDOUT)
                return;
        }
        if (*end == '\0')
            break;
        folder = end;
    }
    errno = denied ? EACCES : ENOENT;
}

// The session's journal stream, which systemd names in $JOURNAL_STREAM as "device:inode".
static bool isJournal(int descriptor)
{
    const char* stream = getenv("JOURNAL_STREAM");
    unsigned long long device = 0;
    unsigned long long inode = 0;
    struct stat status = { 0 };
    return stream && sscanf(stream, "%llu:%llu", &device, &inode) == 2 && fstat(descriptor, &status) == 0
        && S_ISSOCK(status.st_mode) && status.st_dev == device && status.st_ino == inode;
}

// Output that would go to the journal as ours goes there as the program's.
static void journalUnderOwnName(const char* program)
{
    const bool output = isJournal(STDOUT_FILENO);
    const bool errors = isJournal(STDERR_FILENO);
    if (!output && !errors)
        return;
    const char* name = getenv("GIO_LAUNCHED_DESKTOP_FILE");
    name = name ? name : program;
    const char* slash = strrchr(name, '/');
    if (slash && slash[1] != '\0')
        name = slash + 1;
    const int stream = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (stream < 0)
        return;
    struct sockaddr_un address = { 0 };
    address.sun_family = AF_UNIX;
    strcpy(address.sun_path, "/run/systemd/journal/stdout");
    // The name, no unit, priority info, no level prefix, and not forwarded to syslog, kmsg or console.
    if (connect(stream, (const struct sockaddr*)&address, sizeof address) == 0 && shutdown(stream, SHUT_RD) == 0
        && dprintf(stream, "%s\n\n6\n0\n0\n0\n0\n", name) > 0) {
        if (output)
            dup2(stream, STDOUT_FILENO);
        if (errors)
            dup2(stream, STDERR_FILENO);
    }
    close(stream);
}

int main(int argc, char** argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: %s PROGRAM [ARGUMENT...]\n", argv[0]);
        return 127;
    }
    setsid();
    closeFrom(3);
    for (size_t index = 0; index < sizeof kSignalsResetForPrograms / sizeof *kSignalsResetForPrograms; ++index)
        signal(kSignalsResetForPrograms[index], SIG_DFL);
    sigset_t nothing;
    sigemptyset(&nothing);
    sigprocmask(SIG_SETMASK, &nothing, NULL);

    unsetenv(kLauncherVariable);
    char pid[24];
    snprintf(pid, sizeof pid, "%ld", (long)getpid());
    setenv("GIO_LAUNCHED_DESKTOP_FILE_PID", pid, 1);
    journalUnderOwnName(argv[1]);
    run(argv + 1);
    fprintf(stderr, "%s: %s could not be started: %s\n", argv[0], argv[1], strerror(errno));
    return 127;
}
