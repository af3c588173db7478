#include "foundation/AtomicFile.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int writeAll(int fd, const QByteArray& data)
{
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t count = ::write(fd, data.constData() + done, size_t(data.size() - done));
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return errno;
        done += count;
    }
    return 0;
}

// Makes the rename itself durable; a file system that cannot sync a folder
// still has the file, so a failure here is no failure of the write.
void syncFolder(const QByteArray& folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

int AtomicFile::write(const QString& path, const QByteArray& data, mode_t mode, Existing existing,
                      const std::function<void()>& beforeReplacing)
{
    const QFileInfo info(path);
    const QByteArray target = QFile::encodeName(path);
    QByteArray temporary = QFile::encodeName(QStringLiteral("%1/.%2.XXXXXX").arg(info.path(), info.fileName()));
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return errno;
    int error = ::fchmod(fd, mode) == 0 ? writeAll(fd, data) : errno;
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0) {
        if (beforeReplacing)
            beforeReplacing();
        // link() refuses an existing target, where rename() would replace it.
        if (existing == Existing::Replace ? ::rename(temporary.constData(), target.constData()) != 0
                                          : ::link(temporary.constData(), target.constData()) != 0)
            error = errno;
    }
    if (error != 0 || existing == Existing::Keep)
        ::unlink(temporary.constData());
    if (error == 0)
        syncFolder(QFile::encodeName(info.path()));
    return error;
}

QString AtomicFile::describe(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}
