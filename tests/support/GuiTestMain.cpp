// Test entry point of the window tests: like TestMain, but inside a
// QApplication, headless unless a platform is asked for (test discovery runs
// the program outside the test runner's environment too).
#include "platform/linux/LinuxWorkspace.h"
#include "support/TestEnvironment.h"

#include <QApplication>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    QTemporaryDir home(QDir::tempPath() + "/lanternwick-test-XXXXXX");
    if (!isolateTestHome(home))
        return 2;
    // Programs start as they do in the application.
    LinuxWorkspace::useLauncher(QStringLiteral(LW_LAUNCHER_PROGRAM));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
