#pragma once
// What a look at a file on disk tells of it, a link followed: the file it is
// and when it last changed. Equal states mean nothing was written to it, nor
// was it replaced, in between.
#include <QByteArray>
#include <sys/stat.h>

struct FileState {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified {};
    timespec changed {};

    static FileState of(const QByteArray& path);
    bool operator==(const FileState& other) const;
};
