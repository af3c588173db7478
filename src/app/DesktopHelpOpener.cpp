#include "DesktopHelpOpener.h"

#include <QDesktopServices>

bool DesktopHelpOpener::openUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}
