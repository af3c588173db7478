#pragma once
// The windows the application delegate opens; the GUI implements it.
class WindowControllers {
public:
    virtual ~WindowControllers() = default;

    // The dock icon or the menu-bar item, as the settings choose.
    virtual void initializeDockAndStatusBar() = 0;
    // Creates the main window and loads it (which shows it).
    virtual void prepareMainWindow() = 0;
    virtual void closeMainWindow() = 0;
    virtual void showMainWindow() = 0;
    virtual void showWelcomeWindow() = 0;
    // Selects the General pane of the preferences and shows the window.
    virtual void showGeneralPreferences() = 0;
    virtual bool isLaunchSimulationModeActive() const = 0;
    virtual void toggleSimulationMode() = 0;
};
