#pragma once
// The files of our own folders (store, backups, journal, lock, settings, kept
// entries, log).
//
// Opening one never follows a link and never waits on a pipe: only a regular
// file is read or written. Whatever else stands in its place is named in the
// log and refused, or, where a file is to be made, set aside (renamed with a
// suffix) for a new one.
//
// Replacing one is done in one rename, so readers and a crash see the old
// file or the new one, never a part: the data go to a temporary file beside
// it, which is synced to the disk before the rename (a rename of unsynced data
// can leave an empty file after a power cut), and the folder is synced after.
// A write that fails leaves the file that was there as it was. The temporary
// file's name carries the writer's process ID, so that the leftover of a
// killed writer is known and removed by a later start.
#include <QByteArray>
#include <QString>
#include <functional>
#include <sys/types.h>

class AtomicFile {
public:
    enum class Existing { Replace, Keep };
    enum class Links { Refuse, Follow };

    // Answered in place of an errno when something else than a regular file
    // (a link, a pipe, a folder, a device) is at the path.
    static constexpr int kNotARegularFile = -1;

    // open(2) with flags and mode, made safe as above; 0 and the descriptor
    // in *descriptor, else the errno of the step that failed. With O_CREAT,
    // what is in the way is set aside and a file made in its place.
    static int open(const QString& path, int flags, mode_t mode, int* descriptor);
    // The whole file into *data; EFBIG when it is larger than maximumSize.
    // Links::Follow serves files of other folders that may be links (the
    // desktop's entries); a pipe is still never waited on.
    static int read(const QString& path, qint64 maximumSize, QByteArray* data, Links links = Links::Refuse);

    // 0 once data is at path with exactly mode (the umask does not apply),
    // else the errno of the step that failed. beforeReplacing runs once the
    // new file is whole on the disk, just before it takes its place. With
    // Existing::Keep a file already at path is kept and EEXIST answered.
    static int write(const QString& path, const QByteArray& data, mode_t mode, Existing existing = Existing::Replace,
                     const std::function<void()>& beforeReplacing = {});
    // 0 once a symbolic link to target is at path, made as a write makes a
    // file, else the errno of the step that failed.
    static int makeLink(const QString& path, const QString& target, Existing existing);
    // Removes the temporary files that writers no longer running left in folder.
    static void removeLeftovers(const QString& folder);

    // The system's words for an errno ("No space left on device").
    static QString describe(int error);
};
