#include "foundation/AtomicFile.h"

#include "foundation/Log.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <limits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// ".<name>.lanternwick-<pid>-XXXXXX": ours, and whose.
const QString kTemporaryMark = QStringLiteral(".lanternwick-");

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

// O_NONBLOCK opens a pipe at once (for writing it fails with ENXIO without a
// reader); the type is judged on what was opened, not on an earlier look.
int openRegular(const QByteArray& path, int flags, mode_t mode, int* descriptor)
{
    int fd = -1;
    do
        fd = ::open(path.constData(), flags | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, mode);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return errno == ELOOP || errno == ENXIO || errno == EISDIR ? AtomicFile::kNotARegularFile : errno;
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return AtomicFile::kNotARegularFile;
    }
    *descriptor = fd;
    return 0;
}

int setAside(const QString& path)
{
    const QString aside = QStringLiteral("%1.in-the-way-%2").arg(path).arg(QDateTime::currentMSecsSinceEpoch());
    if (::rename(QFile::encodeName(path).constData(), QFile::encodeName(aside).constData()) != 0) {
        const int error = errno;
        LOG_ERROR("%1 is not a regular file and cannot be set aside: %2", path, AtomicFile::describe(error));
        return error;
    }
    LOG_WARN("%1 is not a regular file, set aside as %2", path, aside);
    return 0;
}

bool isRunning(qint64 pid)
{
    return pid > 0 && pid <= std::numeric_limits<pid_t>::max() && (::kill(pid_t(pid), 0) == 0 || errno != ESRCH);
}

} // namespace

int AtomicFile::open(const QString& path, int flags, mode_t mode, int* descriptor)
{
    const QByteArray name = QFile::encodeName(path);
    // Truncated only once it is known to be a regular file.
    const int safeFlags = (flags & ~O_TRUNC) | O_NOFOLLOW;
    int error = openRegular(name, safeFlags, mode, descriptor);
    if (error == kNotARegularFile && (flags & O_CREAT)) {
        error = setAside(path);
        if (error == 0)
            error = openRegular(name, safeFlags | O_EXCL, mode, descriptor);
    } else if (error == kNotARegularFile) {
        LOG_WARN("%1 is not a regular file, refused", path);
    }
    if (error == 0 && (flags & O_TRUNC) && ::ftruncate(*descriptor, 0) != 0) {
        error = errno;
        ::close(*descriptor);
        *descriptor = -1;
    }
    return error;
}

int AtomicFile::read(const QString& path, qint64 maximumSize, QByteArray* data, Links links)
{
    int fd = -1;
    if (const int error = links == Links::Refuse ? open(path, O_RDONLY, 0, &fd) : openRegular(QFile::encodeName(path), O_RDONLY, 0, &fd))
        return error;
    struct stat status {};
    int error = ::fstat(fd, &status) != 0 ? errno : status.st_size > maximumSize ? EFBIG : 0;
    if (error == 0) {
        // One byte more than allowed tells a file that grew meanwhile.
        data->resize(qsizetype(status.st_size) + 1);
        qsizetype done = 0;
        while (error == 0 && done < data->size()) {
            const ssize_t count = ::read(fd, data->data() + done, size_t(data->size() - done));
            if (count < 0 && errno != EINTR)
                error = errno;
            else if (count == 0)
                break;
            else if (count > 0)
                done += count;
        }
        data->truncate(done);
        if (error == 0 && done > maximumSize)
            error = EFBIG;
    }
    ::close(fd);
    return error;
}

int AtomicFile::write(const QString& path, const QByteArray& data, mode_t mode, Existing existing,
                      const std::function<void()>& beforeReplacing)
{
    const QFileInfo info(path);
    const QByteArray target = QFile::encodeName(path);
    QByteArray temporary = QFile::encodeName(
        QStringLiteral("%1/.%2%3%4-XXXXXX").arg(info.path(), info.fileName(), kTemporaryMark).arg(::getpid()));
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

int AtomicFile::makeLink(const QString& path, const QString& target, Existing existing)
{
    const QFileInfo info(path);
    const QByteArray linkTarget = QFile::encodeName(target);
    const QByteArray linkPath = QFile::encodeName(path);
    int error = 0;
    if (existing == Existing::Keep) {
        error = ::symlink(linkTarget.constData(), linkPath.constData()) == 0 ? 0 : errno;
    } else {
        // No call makes a link under a unique name: the temporary name is
        // tried until one is free.
        static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
        error = EEXIST;
        for (int attempt = 0; attempt < 100 && error == EEXIST; ++attempt) {
            QString suffix;
            for (int i = 0; i < 6; ++i)
                suffix += QLatin1Char(kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters - 1))]);
            const QByteArray temporary = QFile::encodeName(
                QStringLiteral("%1/.%2%3%4-%5").arg(info.path(), info.fileName(), kTemporaryMark).arg(::getpid()).arg(suffix));
            error = ::symlink(linkTarget.constData(), temporary.constData()) == 0 ? 0 : errno;
            if (error == 0 && ::rename(temporary.constData(), linkPath.constData()) != 0) {
                error = errno;
                ::unlink(temporary.constData());
            }
        }
    }
    if (error == 0)
        syncFolder(QFile::encodeName(info.path()));
    return error;
}

void AtomicFile::removeLeftovers(const QString& folder)
{
    static const QRegularExpression temporaryName(
        QStringLiteral("^\\..+%1(\\d+)-[A-Za-z0-9]{6}$").arg(QRegularExpression::escape(kTemporaryMark)));
    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        const QRegularExpressionMatch match = temporaryName.match(name);
        if (!match.hasMatch() || isRunning(match.captured(1).toLongLong()))
            continue;
        const QString path = folder + QLatin1Char('/') + name;
        if (::unlink(QFile::encodeName(path).constData()) == 0)
            LOG_INFO("Removed %1, left by a write that was cut short", path);
        else
            LOG_WARN("Failed removing %1, left by a write that was cut short: %2", path, describe(errno));
    }
}

QString AtomicFile::describe(int error)
{
    if (error == kNotARegularFile)
        return QStringLiteral("Not a regular file");
    return QString::fromLocal8Bit(std::strerror(error));
}
