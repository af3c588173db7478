// The program the benchmarks open: it exits at once; with "--wait" it waits
// for a signal, to stand for the other processes of a session. Otherwise,
// where LW_BENCH_STAMPS names a file, it first appends the time it started
// (microseconds since the epoch, one line) to it, so that a login's launches
// can be timed from outside: also when a login item that is a program starts
// it without arguments.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>

namespace {

void appendStamp()
{
    timespec now {};
    clock_gettime(CLOCK_REALTIME, &now);
    const char* file = std::getenv("LW_BENCH_STAMPS");
    if (!file)
        return;
    char line[32];
    const int length = std::snprintf(line, sizeof line, "%lld\n",
                                     static_cast<long long>(now.tv_sec) * 1000000 + now.tv_nsec / 1000);
    // One write of a short line to a file opened for appending: lines of
    // programs started together never mix.
    const int descriptor = open(file, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (descriptor < 0)
        return;
    if (write(descriptor, line, static_cast<size_t>(length)) != length)
        std::perror("stamp");
    close(descriptor);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--wait") == 0)
        pause();
    else
        appendStamp();
    return 0;
}
