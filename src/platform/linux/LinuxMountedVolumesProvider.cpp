#include "platform/linux/LinuxMountedVolumesProvider.h"

#include "foundation/Log.h"
#include "platform/CanonicalPath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QSocketNotifier>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <sys/statvfs.h>
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

// Undoes escapes of a prefix and a code in digits of base: the mount table
// writes a space as \040, udev's link names as \x20.
QByteArray unescaped(const QByteArray& text, const QByteArray& prefix, int digits, int base)
{
    QByteArray result;
    result.reserve(text.size());
    for (qsizetype index = 0; index < text.size(); ++index) {
        const qsizetype end = index + prefix.size() + digits;
        bool isCode = false;
        const int code = end <= text.size() && text.mid(index, prefix.size()) == prefix
            ? text.mid(index + prefix.size(), digits).toInt(&isCode, base)
            : 0;
        if (isCode) {
            result.append(static_cast<char>(code));
            index = end - 1;
        } else {
            result.append(text[index]);
        }
    }
    return result;
}

// udev's names of labelled block devices, by the canonical path of the device.
QHash<QString, QString> labelsByDevice()
{
    QHash<QString, QString> labels;
    const QFileInfoList links = QDir(QStringLiteral("/dev/disk/by-label")).entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& link : links) {
        const QByteArray label = unescaped(QFile::encodeName(link.fileName()), "\\x", 2, 16);
        labels.insert(link.canonicalFilePath(), QString::fromUtf8(label));
    }
    return labels;
}

} // namespace

// One line per mount: "id parent major:minor root mount-point options
// [optional fields] - type source super-options".
QList<LinuxMountedVolumesProvider::Mount> LinuxMountedVolumesProvider::mountsFromTable(const QByteArray& table)
{
    QList<Mount> mounts;
    for (const QByteArray& line : table.split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        const qsizetype separator = fields.indexOf("-", 6);
        if (separator < 0 || separator + 2 >= fields.size())
            continue;
        mounts.append({ QFile::decodeName(unescaped(fields[4], "\\", 3, 8)), fields[separator + 1],
                        unescaped(fields[separator + 2], "\\", 3, 8) });
    }
    return mounts;
}

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
    // Read once per listing: QStorageInfo reads the whole table several times.
    QFile table(QStringLiteral("/proc/self/mountinfo"));
    if (!table.open(QIODevice::ReadOnly))
        return volumes;
    std::optional<QHash<QString, QString>> labels;
    for (const Mount& mount : mountsFromTable(table.readAll())) {
        if (!isUserVisibleMount(mount.mountPoint, mount.fileSystemType))
            continue;
        const QByteArray path = QFile::encodeName(mount.mountPoint);
        struct stat info {};
        struct statvfs fileSystem {};
        // Files bind-mounted into containers (/etc/hosts) are no volumes, nor
        // are file systems that do not answer or hold nothing.
        if (::stat(path.constData(), &info) != 0 || !S_ISDIR(info.st_mode) || ::statvfs(path.constData(), &fileSystem) != 0
            || (fileSystem.f_blocks == 0 && mount.mountPoint != QLatin1String("/")))
            continue;
        QString label;
        if (mount.source.startsWith("/dev/")) {
            if (!labels)
                labels = labelsByDevice();
            label = labels->value(canonicalPath(QFile::decodeName(mount.source)));
        }
        volumes.append({ mount.mountPoint, volumeName(mount.mountPoint, label), true });
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
