#pragma once
// The icon of a file or program by the name its desktop entry or content type
// gives: a theme icon, or a picture file named by its path, read only when it
// is a regular file (never a FIFO or device).
#include <QIcon>
#include <QString>

QIcon themeIcon(const QString& name, const QString& fallbackName = {});
