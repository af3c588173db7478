#pragma once
// A tiny file system of its own at a folder, to run a write into a full disk.
// Mounting needs CAP_SYS_ADMIN (root in a CI container); where the test may
// not mount, skipReason() says why.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

class SmallTmpfs {
public:
    SmallTmpfs(const QString& folder, int kilobytes)
        : m_folder(folder)
    {
        QDir().mkpath(folder);
        const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k,mode=0700";
        if (::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", MS_NOSUID | MS_NODEV, options.constData()) == 0)
            m_mounted = true;
        else
            m_skipReason = QStringLiteral("this test may not mount a tmpfs to fill (%1)").arg(QString::fromLocal8Bit(std::strerror(errno)));
    }
    ~SmallTmpfs()
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_folder).constData(), MNT_DETACH);
    }
    SmallTmpfs(const SmallTmpfs&) = delete;
    SmallTmpfs& operator=(const SmallTmpfs&) = delete;

    bool isMounted() const { return m_mounted; }
    QString skipReason() const { return m_skipReason; }

    // Takes every free byte with one file, so that the next write fails with
    // "No space left on device".
    void fill() const
    {
        const int fd = ::open(QFile::encodeName(m_folder + QStringLiteral("/.filler")).constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
        if (fd < 0)
            return;
        const QByteArray block(4096, 'x');
        while (::write(fd, block.constData(), size_t(block.size())) > 0) {
        }
        while (::write(fd, block.constData(), 1) > 0) {
        }
        ::close(fd);
    }

private:
    QString m_folder;
    bool m_mounted = false;
    QString m_skipReason;
};
