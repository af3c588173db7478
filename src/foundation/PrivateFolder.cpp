#include "foundation/PrivateFolder.h"

#include "foundation/AtomicFile.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <sys/stat.h>

namespace {

// Made or not by this call, what counts is a folder at path afterwards:
// another process may have made it a moment before.
QString makeFolder(const QString& path, mode_t mode)
{
    if (QFileInfo(path).isDir())
        return {};
    const QString parent = QFileInfo(path).path();
    if (parent != path) {
        // Parents as any program makes them (the umask applies).
        if (QString failure = makeFolder(parent, 0777); !failure.isEmpty())
            return failure;
    }
    if (::mkdir(QFile::encodeName(path).constData(), mode) == 0)
        return {};
    const int failure = errno;
    if (QFileInfo(path).isDir())
        return {};
    // A file (or a link to one) in the folder's place: what the user has to
    // mend is that it is no folder, not that something exists.
    return QStringLiteral("Cannot make the folder %1: %2").arg(path, AtomicFile::describe(failure == EEXIST ? ENOTDIR : failure));
}

} // namespace

QString PrivateFolder::make(const QString& path)
{
    return makeFolder(path, S_IRWXU);
}
