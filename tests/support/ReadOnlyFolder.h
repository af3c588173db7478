#pragma once
// A folder nothing can be written into while this lives, hiding what it
// held: a read-only file system mounted on it for root (who may write
// anywhere else; root in a CI container), its mode for anyone else. Where
// the test may not mount, skipReason() says why.
#include <QDir>
#include <QFile>
#include <QString>
#include <cerrno>
#include <cstring>
#include <sys/mount.h>
#include <unistd.h>

class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const QString& folder)
        : m_folder(folder)
        , m_mounting(::geteuid() == 0)
    {
        QDir().mkpath(folder);
        if (!m_mounting)
            m_readOnly = QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        else if (::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", MS_RDONLY | MS_NOSUID | MS_NODEV, "size=16k") == 0)
            m_readOnly = true;
        else
            m_skipReason = QStringLiteral("this test may not mount a read-only file system (%1)").arg(QString::fromLocal8Bit(std::strerror(errno)));
    }
    ~ReadOnlyFolder()
    {
        if (m_readOnly && m_mounting)
            ::umount2(QFile::encodeName(m_folder).constData(), MNT_DETACH);
        else if (m_readOnly)
            QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

    bool isReadOnly() const { return m_readOnly; }
    QString skipReason() const { return m_skipReason; }
    // What a write into it fails with.
    QString cause() const { return QString::fromLocal8Bit(std::strerror(m_mounting ? EROFS : EACCES)); }

private:
    QString m_folder;
    bool m_mounting;
    bool m_readOnly = false;
    QString m_skipReason;
};
