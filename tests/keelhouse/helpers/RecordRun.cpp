// Stands in for the programs an autostart entry runs. Writes how it was
// started to "$LW_TEST_RECORD_FOLDER/<pid>.run": the number of arguments, the
// arguments (argv[0] first), then the environment, each ended by a NUL byte.
// It then keeps running until that file is removed (at most 30 s), so that
// tests can find it among the running processes.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

#include "support/StayWhileExists.h"

extern char** environ;

int main(int argc, char** argv)
{
    const char* folder = std::getenv("LW_TEST_RECORD_FOLDER");
    if (!folder)
        return 1;
    const std::string record = std::string(folder) + "/" + std::to_string(getpid()) + ".run";
    const std::string partial = record + ".partial";
    FILE* out = std::fopen(partial.c_str(), "wb");
    if (!out)
        return 1;
    const std::string count = std::to_string(argc);
    std::fwrite(count.c_str(), 1, count.size() + 1, out);
    for (int i = 0; i < argc; ++i)
        std::fwrite(argv[i], 1, std::strlen(argv[i]) + 1, out);
    for (char** variable = environ; *variable; ++variable)
        std::fwrite(*variable, 1, std::strlen(*variable) + 1, out);
    std::fclose(out);
    // Renamed into place so that a reader never sees half of it.
    if (std::rename(partial.c_str(), record.c_str()) != 0)
        return 1;
    stayWhileExists(record);
    return 0;
}
