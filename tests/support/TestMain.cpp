// Test entry point shared by every test program: the tests never see the real
// home folder, and they run inside a QCoreApplication so that queued work and
// timers can be driven.
#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    QTemporaryDir home(QDir::tempPath() + "/lanternwick-test-XXXXXX");
    if (!home.isValid())
        return 2;
    const QByteArray root = home.path().toUtf8();
    qputenv("HOME", root);
    qputenv("XDG_CONFIG_HOME", root + "/.config");
    qputenv("XDG_DATA_HOME", root + "/.local/share");
    qputenv("XDG_STATE_HOME", root + "/.local/state");
    qputenv("XDG_CACHE_HOME", root + "/.cache");
    qputenv("XDG_CONFIG_DIRS", root + "/etc/xdg");

    QCoreApplication app(argc, argv);
    testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
