#pragma once
// Mounted volumes from the mount table, with a change signal driven by the
// kernel: /proc/self/mountinfo reports every mount and unmount as an
// exceptional condition (POLLPRI) on an open descriptor.
#include "platform/MountedVolumesProvider.h"

class QSocketNotifier;

class LinuxMountedVolumesProvider : public MountedVolumesProvider {
    Q_OBJECT
public:
    explicit LinuxMountedVolumesProvider(QObject* parent = nullptr);
    ~LinuxMountedVolumesProvider() override;

    QList<MountedVolume> mountedVolumes() const override;

    struct Mount {
        QString mountPoint;
        QByteArray fileSystemType;
        QByteArray source;
    };
    // The mounts listed in the text of /proc/self/mountinfo.
    static QList<Mount> mountsFromTable(const QByteArray& table);

    // Whether a mount is one the user sees as a volume. See the .cpp for the rule.
    static bool isUserVisibleMount(const QString& mountPoint, const QByteArray& fileSystemType);
    // The file system's label, else the last component of the mount point; "/" for the root.
    static QString volumeName(const QString& mountPoint, const QString& label);

private:
    int m_mountInfo = -1;
    QSocketNotifier* m_notifier = nullptr;
};
