#pragma once
// The windows the application delegate opens; the GUI implements it.
#include <QString>

class WindowControllers {
public:
    virtual ~WindowControllers() = default;

    // The dock icon or the menu-bar item, as the settings choose.
    virtual void initializeDockAndStatusBar() = 0;
    // Creates the main window's controller; the window is built and shown
    // once start-up has not closed it again in the same pass.
    virtual void prepareMainWindow() = 0;
    virtual void closeMainWindow() = 0;
    virtual void showMainWindow() = 0;
    // For a result of work in the background: shows the main window, but
    // while another window of the program is in use, behind it and without
    // taking the keyboard from it.
    virtual void showMainWindowInBackground() = 0;
    virtual void showWelcomeWindow() = 0;
    // Selects the General pane of the preferences and shows the window.
    virtual void showGeneralPreferences() = 0;
    virtual bool isLaunchSimulationModeActive() const = 0;
    virtual void toggleSimulationMode() = 0;

    virtual void showPreferencesWindow() = 0;
    virtual void showAboutWindow() = 0;
    // The dialog with the latest logs and the database for support, with
    // message as the start of the description (may be empty).
    virtual void showFeedbackDialog(const QString& message) = 0;
    // Without a database: brings forward the dialog that asks about it, or
    // the feedback dialog once it has been answered.
    virtual void showDatabaseFailure() = 0;
    // Both do nothing when the window was never made.
    virtual void closeWelcomeWindow() = 0;
    virtual void closePreferencesWindow() = 0;
    // Never makes the main window.
    virtual bool hasMainWindowController() const = 0;
    virtual bool isMainWindowFocused() const = 0;
};
