#include "platform/CanonicalPath.h"

#include <QDir>
#include <QFileInfo>

QString writtenPath(const QString& path)
{
    if (path.isEmpty())
        return {};
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

QString canonicalPath(const QString& path)
{
    // Cleaning first: a trailing slash after a file name makes link resolution fail.
    const QString cleaned = writtenPath(path);
    const QString resolved = cleaned.isEmpty() ? QString() : QFileInfo(cleaned).canonicalFilePath();
    return resolved.isEmpty() ? cleaned : resolved;
}

bool isSamePath(const QString& first, const QString& second)
{
    const QString writtenFirst = writtenPath(first);
    return !writtenFirst.isEmpty() && writtenFirst == writtenPath(second);
}
