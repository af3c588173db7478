#include "platform/fake/FakeMountedVolumesProvider.h"
#include "platform/linux/LinuxMountedVolumesProvider.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

struct MountEntry {
    const char* mountPoint;
    const char* type;
    bool visible;
};

TEST(MountedVolumes, OnlyUserFileSystemsAreVolumes)
{
    const MountEntry entries[] = {
        { "/", "ext4", true },
        { "/", "overlay", true }, // live systems and containers
        { "/home", "btrfs", true },
        { "/media/ann/USB STICK", "vfat", true },
        { "/run/media/ann/Backup", "exfat", true },
        { "/mnt/nas", "nfs4", true },
        { "/srv/data", "xfs", true },
        { "/home/ann/remote", "fuse.sshfs", true },
        { "/runner", "ext4", true }, // /run is a prefix of the name, not its folder
        { "/proc", "proc", false },
        { "/sys", "sysfs", false },
        { "/sys/fs/cgroup", "cgroup2", false },
        { "/dev", "devtmpfs", false },
        { "/dev/shm", "tmpfs", false },
        { "/tmp", "tmpfs", false },
        { "/run/user/1000", "tmpfs", false },
        { "/run/user/1000/gvfs", "fuse.gvfsd-fuse", false },
        { "/run/user/1000/doc", "fuse.portal", false },
        { "/run/netns/x", "nsfs", false },
        { "/snap/core22/1033", "squashfs", false },
        { "/boot", "ext4", false },
        { "/boot/efi", "vfat", false },
        { "/var/lib/docker/overlay2/abc/merged", "overlay", false },
        { "/mnt/image", "squashfs", false },
        { "", "ext4", false },
    };
    for (const MountEntry& entry : entries) {
        EXPECT_EQ(LinuxMountedVolumesProvider::isUserVisibleMount(QString::fromUtf8(entry.mountPoint), entry.type), entry.visible)
            << entry.mountPoint << " " << entry.type;
    }
}

TEST(MountedVolumes, NameIsTheLabelElseTheFolderName)
{
    EXPECT_EQ(LinuxMountedVolumesProvider::volumeName("/media/ann/sdb1", "Holiday Photos"), "Holiday Photos");
    EXPECT_EQ(LinuxMountedVolumesProvider::volumeName("/media/ann/My Disk", ""), "My Disk");
    EXPECT_EQ(LinuxMountedVolumesProvider::volumeName("/", ""), "/");
    EXPECT_EQ(LinuxMountedVolumesProvider::volumeName("/", "debian"), "debian");
}

TEST(MountedVolumes, MountTableFieldsAreUnescapedAndBrokenLinesSkipped)
{
    const QByteArray table = "26 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
                             "40 26 8:17 / /media/ann/USB\\040STICK\\134x rw master:2 shared:7 - vfat /dev/sdb1 rw\n"
                             "41 26 0:50 / /mnt/net\\011share rw - cifs //nas/Ann\\040Files rw\n"
                             "42 26 0:51 / /mnt/truncated rw -\n"
                             "\n";
    const QList<LinuxMountedVolumesProvider::Mount> mounts = LinuxMountedVolumesProvider::mountsFromTable(table);
    ASSERT_EQ(mounts.size(), 3);
    EXPECT_EQ(mounts[0].mountPoint, "/");
    EXPECT_EQ(mounts[0].fileSystemType, "ext4");
    EXPECT_EQ(mounts[1].mountPoint, "/media/ann/USB STICK\\x");
    EXPECT_EQ(mounts[1].fileSystemType, "vfat");
    EXPECT_EQ(mounts[1].source, "/dev/sdb1");
    EXPECT_EQ(mounts[2].mountPoint, "/mnt/net\tshare");
    EXPECT_EQ(mounts[2].source, "//nas/Ann Files");
}

TEST(MountedVolumes, RealMountTableGivesSaneVolumes)
{
    LinuxMountedVolumesProvider provider;
    const QList<MountedVolume> volumes = provider.mountedVolumes();
    bool hasRoot = false;
    for (const MountedVolume& volume : volumes) {
        EXPECT_TRUE(QDir::isAbsolutePath(volume.path)) << volume.path.toStdString();
        EXPECT_FALSE(volume.name.isEmpty()) << volume.path.toStdString();
        EXPECT_TRUE(volume.attached);
        EXPECT_FALSE(volume.path.startsWith("/proc")) << volume.path.toStdString();
        hasRoot = hasRoot || volume.path == "/";
    }
    EXPECT_TRUE(hasRoot);
}

TEST(MountedVolumes, FakeReportsItsChanges)
{
    FakeMountedVolumesProvider fake;
    MountedVolumesProvider& provider = fake;
    int changes = 0;
    QObject::connect(&provider, &MountedVolumesProvider::volumesChanged, [&] { ++changes; });
    fake.setMountedVolumes({ { "/media/ann/Stick", "Stick", true } });
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(provider.mountedVolumes(), QList<MountedVolume>({ { "/media/ann/Stick", "Stick", true } }));
}

} // namespace
