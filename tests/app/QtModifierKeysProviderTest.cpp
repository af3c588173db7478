// The keys as Qt reports them: on Wayland they are unknown while no window of
// the program has the keyboard, elsewhere they are read at any time.
#include "QtModifierKeysProvider.h"

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

TEST(QtModifierKeysProvider, OnWaylandTheKeysAreUnknownWithoutAWindowInFront)
{
    ASSERT_EQ(QGuiApplication::focusWindow(), nullptr);
    const QtModifierKeysProvider wayland(QStringLiteral("wayland"));
    EXPECT_TRUE(wayland.seesKeysOnlyWithFocus());
    EXPECT_EQ(wayland.currentModifierKeys(), std::nullopt);

    QWidget window;
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_EQ(wayland.currentModifierKeys(), ModifierKeys());
}

TEST(QtModifierKeysProvider, ElsewhereTheKeysAreReadWithoutAWindow)
{
    const QtModifierKeysProvider other(QStringLiteral("offscreen"));
    EXPECT_FALSE(other.seesKeysOnlyWithFocus());
    EXPECT_EQ(other.currentModifierKeys(), ModifierKeys());
}

} // namespace
