// The keys on X11, from a server of the test's own (Xvfb): read without any
// window, unknown once the server is gone.
#include "platform/linux/XcbModifierKeysProvider.h"

#include <QProcess>
#include <gtest/gtest.h>

TEST(XcbModifierKeysProvider, ReadsTheKeysWithoutAWindowAndIsUnknownWithoutAServer)
{
    QProcess server;
    // The server picks a free display and writes its number on standard output.
    server.start(QStringLiteral("Xvfb"), { "-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "320x240x24" });
    ASSERT_TRUE(server.waitForStarted(10000));
    QByteArray number;
    while (!number.endsWith('\n') && server.waitForReadyRead(60000))
        number += server.readAllStandardOutput();
    ASSERT_FALSE(number.trimmed().isEmpty());
    const QByteArray display = ':' + number.trimmed();

    const XcbModifierKeysProvider provider(display);
    EXPECT_FALSE(provider.seesKeysOnlyWithFocus());
    EXPECT_EQ(provider.currentModifierKeys(), ModifierKeys());

    server.terminate();
    ASSERT_TRUE(server.waitForFinished(10000));
    EXPECT_EQ(XcbModifierKeysProvider(display).currentModifierKeys(), std::nullopt);
}
