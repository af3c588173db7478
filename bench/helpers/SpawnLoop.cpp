// The floor of a login of programs (LaunchLoops.h).
//   lw_bench_spawn_loop ARGUMENT PROGRAM...: each PROGRAM gets ARGUMENT.
#include "LaunchLoops.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s ARGUMENT PROGRAM...\n", argv[0]);
        return 2;
    }
    const std::string failure = launch_loops::spawnLoop({ argv + 2, argv + argc }, argv[1]);
    if (!failure.empty())
        std::fprintf(stderr, "%s\n", failure.c_str());
    return failure.empty() ? 0 : 1;
}
