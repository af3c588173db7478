#include "foundation/PrivateFolder.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <sys/stat.h>

namespace {

// Made or not by this call, what counts is a folder at path afterwards:
// another process may have made it a moment before.
int makeFolder(const QString& path, mode_t mode)
{
    if (QFileInfo(path).isDir())
        return 0;
    const QString parent = QFileInfo(path).path();
    if (parent != path) {
        // Parents as any program makes them (the umask applies).
        if (const int error = makeFolder(parent, 0777))
            return error;
    }
    if (::mkdir(QFile::encodeName(path).constData(), mode) != 0 && !QFileInfo(path).isDir())
        return errno;
    return 0;
}

} // namespace

int PrivateFolder::make(const QString& path)
{
    return makeFolder(path, S_IRWXU);
}
