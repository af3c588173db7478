// Writes how it was started to "<argv[0]>.ran": every argument, argv[0] first,
// then the inherited activation token if any, each ended by a NUL byte. With
// "--stay" as first argument it keeps running until that file is removed (at
// most 30 s), so that tests can find it among the running processes.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

int main(int argc, char** argv)
{
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
    if (argc > 1 && std::strcmp(argv[1], "--stay") == 0) {
        for (int i = 0; i < 3000 && access(marker.c_str(), F_OK) == 0; ++i)
            usleep(10 * 1000);
    }
    return 0;
}
