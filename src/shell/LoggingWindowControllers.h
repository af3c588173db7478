#pragma once
// Stands in for the windows until the GUI exists: every request is logged
// and nothing is shown.
#include "shell/WindowControllers.h"

#include <QString>

class LoggingWindowControllers : public WindowControllers {
public:
    void initializeDockAndStatusBar() override;
    void prepareMainWindow() override;
    void closeMainWindow() override;
    void showMainWindow() override;
    void showWelcomeWindow() override;
    void showGeneralPreferences() override;
    bool isLaunchSimulationModeActive() const override { return false; }
    void toggleSimulationMode() override;

private:
    static void skip(const QString& request);
};
