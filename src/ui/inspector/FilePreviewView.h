#pragma once
// The large picture of a file in its header: a thumbnail for a regular image
// file of bounded size, else the file's icon from the icon theme. Nothing
// else is ever opened (a FIFO or a device file would block or act), and a
// path that no longer exists shows nothing.
#include <QLabel>

class FilePreviewView : public QLabel {
    Q_OBJECT
public:
    // Larger files are shown by their icon.
    static constexpr qint64 maximumImageFileSize = 32 * 1024 * 1024;

    explicit FilePreviewView(QWidget* parent = nullptr);

    // side: the square the preview fills, in device-independent pixels.
    void setPreviewItem(const QString& path, const QString& iconName, int side);
    bool isShowingThumbnail() const { return m_isShowingThumbnail; }

    // The image of a regular image file, scaled into side × side; null for
    // anything else.
    static QImage thumbnailForPath(const QString& path, int side);

private:
    bool m_isShowingThumbnail = false;
};
