#pragma once
#include <QString>

// One mounted, user-visible file system.
struct MountedVolume {
    QString path;
    QString name;
    bool attached = true;

    bool operator==(const MountedVolume&) const = default;
};
