#include "platform/linux/LinuxMountedVolumesProvider.h"

#include "foundation/Log.h"

#include <QFileInfo>
#include <QSet>
#include <QSocketNotifier>
#include <QStorageInfo>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Kernel and desktop plumbing, never a volume the user stores files on.
const QSet<QByteArray> kPseudoFileSystems = {
    "autofs", "binfmt_misc", "bpf", "cgroup", "cgroup2", "configfs", "debugfs", "devpts", "devtmpfs",
    "efivarfs", "fusectl", "hugetlbfs", "mqueue", "nsfs", "overlay", "proc", "pstore", "ramfs",
    "rpc_pipefs", "securityfs", "selinuxfs", "squashfs", "sysfs", "tmpfs", "tracefs",
    "fuse.gvfsd-fuse", "fuse.portal", "fuse.lxcfs", "fuse.snapfuse",
};

// Folders of the system whose mounts are not the user's; removable media that
// udisks mounts under /run/media stay visible.
const QStringList kSystemFolders = {
    QStringLiteral("/proc"), QStringLiteral("/sys"), QStringLiteral("/dev"), QStringLiteral("/run"),
    QStringLiteral("/boot"), QStringLiteral("/efi"), QStringLiteral("/snap"), QStringLiteral("/var/lib"),
};

bool isAtOrUnder(const QString& path, const QString& folder)
{
    return path == folder || path.startsWith(folder + QLatin1Char('/'));
}

} // namespace

LinuxMountedVolumesProvider::LinuxMountedVolumesProvider(QObject* parent)
    : MountedVolumesProvider(parent)
{
    m_mountInfo = ::open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC);
    if (m_mountInfo < 0) {
        LOG_WARN("Can't watch the mount table: %1", QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    m_notifier = new QSocketNotifier(m_mountInfo, QSocketNotifier::Exception, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &MountedVolumesProvider::volumesChanged);
}

LinuxMountedVolumesProvider::~LinuxMountedVolumesProvider()
{
    delete m_notifier;
    if (m_mountInfo >= 0)
        ::close(m_mountInfo);
}

QList<MountedVolume> LinuxMountedVolumesProvider::mountedVolumes() const
{
    QList<MountedVolume> volumes;
    for (const QStorageInfo& storage : QStorageInfo::mountedVolumes()) {
        const QString mountPoint = storage.rootPath();
        // Files bind-mounted into containers (/etc/hosts) are no volumes.
        if (!storage.isValid() || !storage.isReady() || !QFileInfo(mountPoint).isDir()
            || !isUserVisibleMount(mountPoint, storage.fileSystemType()))
            continue;
        volumes.append({ mountPoint, volumeName(mountPoint, storage.name()), true });
    }
    return volumes;
}

// The rule: the root file system is always a volume, whatever it is made of
// (live systems and containers run on overlay or squashfs). Any other mount is
// one unless its file system is kernel or desktop plumbing (proc, sysfs, tmpfs,
// cgroup, overlay, snap images, the portal and gvfs FUSE mounts, ...) or it sits
// in a system folder (/proc, /sys, /dev, /run but /run/media, /boot, /efi,
// /snap, /var/lib). Network and FUSE file systems of the user stay visible.
bool LinuxMountedVolumesProvider::isUserVisibleMount(const QString& mountPoint, const QByteArray& fileSystemType)
{
    if (mountPoint == QLatin1String("/"))
        return true;
    if (mountPoint.isEmpty() || kPseudoFileSystems.contains(fileSystemType))
        return false;
    if (isAtOrUnder(mountPoint, QStringLiteral("/run/media")))
        return true;
    return std::none_of(kSystemFolders.cbegin(), kSystemFolders.cend(),
                        [&](const QString& folder) { return isAtOrUnder(mountPoint, folder); });
}

QString LinuxMountedVolumesProvider::volumeName(const QString& mountPoint, const QString& label)
{
    if (!label.isEmpty())
        return label;
    if (mountPoint == QLatin1String("/"))
        return mountPoint;
    const QString name = QFileInfo(mountPoint).fileName();
    return name.isEmpty() ? mountPoint : name;
}
