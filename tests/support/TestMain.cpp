// Test entry point shared by every test program: the tests never see the real
// home folder, and they run inside a QCoreApplication so that queued work and
// timers can be driven.
#include "platform/linux/LinuxWorkspace.h"
#include "support/TestEnvironment.h"

#include <QCoreApplication>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    QTemporaryDir home(QDir::tempPath() + "/lanternwick-test-XXXXXX");
    if (!isolateTestHome(home))
        return 2;
    // Programs start as they do in the application.
    LinuxWorkspace::useLauncher(QStringLiteral(LW_LAUNCHER_PROGRAM));
    QCoreApplication app(argc, argv);
    testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
