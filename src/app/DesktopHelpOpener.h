#pragma once
// Help pages open in the desktop's browser.
#include "shell/HelpOpener.h"

class DesktopHelpOpener : public HelpOpener {
public:
    bool openUrl(const QUrl& url) override;
};
