#include "platform/linux/FileState.h"

namespace {

bool operator==(const timespec& one, const timespec& other)
{
    return one.tv_sec == other.tv_sec && one.tv_nsec == other.tv_nsec;
}

} // namespace

FileState FileState::of(const QByteArray& path)
{
    struct stat status {};
    if (::stat(path.constData(), &status) != 0)
        return {};
    return { true, status.st_dev, status.st_ino, status.st_size, status.st_mtim, status.st_ctim };
}

bool FileState::operator==(const FileState& other) const
{
    return exists == other.exists && device == other.device && inode == other.inode && size == other.size
        && modified == other.modified && changed == other.changed;
}
