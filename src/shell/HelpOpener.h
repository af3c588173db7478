#pragma once
// Shows a help page. Opening a URL with the desktop's browser is QtGui's
// business, so the GUI provides the real one.
#include <QUrl>

class HelpOpener {
public:
    virtual ~HelpOpener() = default;
    // False when the page could not be shown.
    virtual bool openUrl(const QUrl& url) = 0;
};
