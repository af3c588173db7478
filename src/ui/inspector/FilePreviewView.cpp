#include "ui/inspector/FilePreviewView.h"

#include "ui/base/ThemeIcon.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QImageReader>
#include <QPixmap>
#include <optional>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The bytes of a regular file no larger than the limit, read without ever
// blocking on something that only looks like a file.
std::optional<QByteArray> regularFileContents(const QString& path, qint64 limit)
{
    const QByteArray nativePath = QFile::encodeName(path);
    struct stat status {};
    if (::stat(nativePath.constData(), &status) != 0 || !S_ISREG(status.st_mode) || status.st_size > limit)
        return std::nullopt;
    const int descriptor = ::open(nativePath.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return std::nullopt;
    // It may have been replaced between the two looks.
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size > limit) {
        ::close(descriptor);
        return std::nullopt;
    }
    QByteArray contents(static_cast<qsizetype>(status.st_size), Qt::Uninitialized);
    qsizetype filled = 0;
    while (filled < contents.size()) {
        const ssize_t count = ::read(descriptor, contents.data() + filled, static_cast<size_t>(contents.size() - filled));
        if (count <= 0)
            break;
        filled += count;
    }
    ::close(descriptor);
    contents.truncate(filled);
    return contents;
}

} // namespace

FilePreviewView::FilePreviewView(QWidget* parent)
    : QLabel(parent)
{
    setObjectName(QStringLiteral("iconPreviewView"));
    setAlignment(Qt::AlignCenter);
}

QImage FilePreviewView::thumbnailForPath(const QString& path, int side)
{
    const std::optional<QByteArray> contents = regularFileContents(path, maximumImageFileSize);
    if (!contents || contents->isEmpty())
        return {};
    QBuffer buffer;
    buffer.setData(*contents);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    if (!reader.canRead() || !size.isValid() || size.isEmpty())
        return {};
    reader.setScaledSize(size.scaled(side, side, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
    return reader.read();
}

void FilePreviewView::setPreviewItem(const QString& path, const QString& iconName, int side)
{
    setFixedSize(side, side);
    m_isShowingThumbnail = false;
    clear();
    if (path.isEmpty() || !QFileInfo::exists(path))
        return;
    const qreal ratio = devicePixelRatioF();
    const QImage thumbnail = thumbnailForPath(path, qRound(side * ratio));
    if (!thumbnail.isNull()) {
        QPixmap pixmap = QPixmap::fromImage(thumbnail);
        pixmap.setDevicePixelRatio(ratio);
        setPixmap(pixmap);
        m_isShowingThumbnail = true;
        return;
    }
    const QIcon icon = themeIcon(iconName, QStringLiteral("text-x-generic"));
    setPixmap(icon.pixmap(QSize(side, side), ratio));
}
