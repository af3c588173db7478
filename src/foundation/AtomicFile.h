#pragma once
// Replaces a file in one rename, so readers and a crash see the old file or
// the new one, never a part: the data go to a temporary file beside it,
// which is synced to the disk before the rename (a rename of unsynced data
// can leave an empty file after a power cut), and the folder is synced after.
// A write that fails leaves the file that was there as it was.
#include <QByteArray>
#include <QString>
#include <functional>
#include <sys/types.h>

class AtomicFile {
public:
    enum class Existing { Replace, Keep };

    // 0 once data is at path with exactly mode (the umask does not apply),
    // else the errno of the step that failed. beforeReplacing runs once the
    // new file is whole on the disk, just before it takes its place. With
    // Existing::Keep a file already at path is kept and EEXIST answered.
    static int write(const QString& path, const QByteArray& data, mode_t mode, Existing existing = Existing::Replace,
                     const std::function<void()>& beforeReplacing = {});
    // The system's words for an errno ("No space left on device").
    static QString describe(int error);
};
