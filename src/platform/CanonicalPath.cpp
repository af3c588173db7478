#include "platform/CanonicalPath.h"

#include <QDir>
#include <QFileInfo>

QString canonicalPath(const QString& path)
{
    if (path.isEmpty())
        return {};
    // Cleaning first: a trailing slash after a file name makes link resolution fail.
    const QString cleaned = cleanedPath(path);
    const QString resolved = QFileInfo(cleaned).canonicalFilePath();
    return resolved.isEmpty() ? cleaned : resolved;
}

bool isSamePath(const QString& first, const QString& second)
{
    const QString canonicalFirst = canonicalPath(first);
    return !canonicalFirst.isEmpty() && canonicalFirst == canonicalPath(second);
}

QString cleanedPath(const QString& path)
{
    return path.isEmpty() ? QString() : QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}
