#include "ui/base/ThemeIcon.h"

#include <QFileInfo>

QIcon themeIcon(const QString& name, const QString& fallbackName)
{
    const QFileInfo file(name);
    if (file.isAbsolute())
        return file.isFile() ? QIcon(name) : QIcon::fromTheme(fallbackName);
    return QIcon::fromTheme(name, QIcon::fromTheme(fallbackName));
}
