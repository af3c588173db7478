// The floor of a login: starts each program in turn with posix_spawn and
// nothing more, then collects them. What a launcher spends per item beyond
// this loop is its own cost.
//   lw_bench_spawn_loop ARGUMENT PROGRAM...: each PROGRAM gets ARGUMENT.
#include <cstdio>
#include <cstring>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s ARGUMENT PROGRAM...\n", argv[0]);
        return 2;
    }
    std::vector<pid_t> pids;
    for (int index = 2; index < argc; ++index) {
        char* const arguments[] = { argv[index], argv[1], nullptr };
        pid_t pid = 0;
        if (const int error = posix_spawn(&pid, argv[index], nullptr, nullptr, arguments, environ); error != 0) {
            std::fprintf(stderr, "%s: %s\n", argv[index], std::strerror(error));
            return 1;
        }
        pids.push_back(pid);
    }
    for (const pid_t pid : pids)
        waitpid(pid, nullptr, 0);
    return 0;
}
