// The floor of a login of desktop entries (LaunchLoops.h).
//   lw_bench_gio_loop ENTRY...
#include "LaunchLoops.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s ENTRY...\n", argv[0]);
        return 2;
    }
    setenv("GIO_LAUNCH_DESKTOP", LW_LAUNCHER_PROGRAM, 1);
    const std::string failure = launch_loops::gioLoop({ argv + 1, argv + argc });
    if (!failure.empty())
        std::fprintf(stderr, "%s\n", failure.c_str());
    return failure.empty() ? 0 : 1;
}
