// Replaces the file named by its argument with "data", as the store does: the
// program the test of a safe write's system calls runs under strace.
#include "foundation/AtomicFile.h"

#include <QString>

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    return AtomicFile::write(QString::fromLocal8Bit(argv[1]), "data", 0600) == 0 ? 0 : 1;
}
