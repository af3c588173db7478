#include "shell/LoggingWindowControllers.h"

#include "foundation/Log.h"

void LoggingWindowControllers::skip(const QString& request)
{
    LOG_INFO("No GUI yet: %1 skipped", request);
}

void LoggingWindowControllers::initializeDockAndStatusBar()
{
    skip(QStringLiteral("dock and status bar"));
}

void LoggingWindowControllers::prepareMainWindow()
{
    skip(QStringLiteral("preparing the main window"));
}

void LoggingWindowControllers::closeMainWindow()
{
    skip(QStringLiteral("closing the main window"));
}

void LoggingWindowControllers::showMainWindow()
{
    skip(QStringLiteral("showing the main window"));
}

void LoggingWindowControllers::showWelcomeWindow()
{
    skip(QStringLiteral("showing the welcome window"));
}

void LoggingWindowControllers::showGeneralPreferences()
{
    skip(QStringLiteral("showing the general preferences"));
}

void LoggingWindowControllers::toggleSimulationMode()
{
    skip(QStringLiteral("toggling the simulation mode"));
}
