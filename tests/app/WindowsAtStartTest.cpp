// The built program started under a real window manager (openbox on an
// Xvfb display of the test's own): the windows that start-up opens in
// front of the main window end in front, the welcome window on top, with
// the keyboard focus, and new entries of the session found later leave the
// keyboard where the user is. Skipped where no X server or window manager is
// installed.
#include "../keelhouse/PrivateBus.h"
#include "support/EndToEnd.h"
#include "support/TestHome.h"

#include "foundation/UserDefaults.h"
#include "texts/Localizator.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

namespace {

// What the window manager is given to settle after a change.
constexpr int kSettleMilliseconds = 1500;

class WindowsAtStartTest : public testing::Test {
protected:
    void SetUp() override
    {
        for (const char* tool : { "Xvfb", "openbox", "xprop" })
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                GTEST_SKIP() << tool << " is not installed: no window manager to check the windows' order under";
        home = freshTestFolder("windows-at-start");
        insertHomeFolders(environment, home);
        bus = std::make_unique<PrivateBus>(home + "/.local/share/dbus-1", environment);
        ASSERT_TRUE(bus->isRunning());
        environment.insert("DBUS_SESSION_BUS_ADDRESS", bus->address());
        environment.insert("DBUS_SYSTEM_BUS_ADDRESS", bus->address());
        environment.insert("LSAN_OPTIONS", "suppressions=" LW_LSAN_SUPPRESSIONS);

        // The server names its free display on the descriptor given.
        server.start("Xvfb", { "-displayfd", "1", "-screen", "0", "800x600x24", "-nolisten", "tcp" });
        ASSERT_TRUE(server.waitForStarted(30000));
        ASSERT_TRUE(waitFor([this] { return server.canReadLine() || server.state() != QProcess::Running; }, 60000));
        const QString display = QString::fromLatin1(server.readLine()).trimmed();
        ASSERT_FALSE(display.isEmpty());
        environment.insert("DISPLAY", ":" + display);
        environment.insert("QT_QPA_PLATFORM", "xcb");
        windowManager.setProcessEnvironment(environment);
        windowManager.setProcessChannelMode(QProcess::MergedChannels);
        windowManager.start("openbox", { "--sm-disable" });
        ASSERT_TRUE(windowManager.waitForStarted(30000));
        ASSERT_TRUE(waitFor([this] {
            return rootProperty("_NET_SUPPORTING_WM_CHECK").contains("window id") || windowManager.state() != QProcess::Running;
        }, 60000));
        ASSERT_EQ(windowManager.state(), QProcess::Running)
            << "openbox ended (" << windowManager.exitCode() << "): " << windowManager.readAll().toStdString();
        ASSERT_TRUE(rootProperty("_NET_SUPPORTING_WM_CHECK").contains("window id")) << windowManager.readAll().toStdString();
    }

    void TearDown() override
    {
        for (QProcess* process : { &program, &windowManager, &server })
            if (process->state() != QProcess::NotRunning) {
                process->terminate();
                if (!process->waitForFinished(10000)) {
                    process->kill();
                    process->waitForFinished(5000);
                }
            }
    }

    QString xprop(const QStringList& arguments) const
    {
        QProcess query;
        query.setProcessEnvironment(environment);
        query.start("xprop", arguments);
        query.waitForFinished(5000);
        return QString::fromUtf8(query.readAllStandardOutput());
    }
    QString rootProperty(const QString& name) const { return xprop({ "-root", name }); }
    // The window IDs of a root property that lists windows.
    QStringList windowsOf(const QString& property) const
    {
        QStringList windows;
        for (const QRegularExpressionMatch& match : QRegularExpression("0x[0-9a-f]+").globalMatch(rootProperty(property)))
            windows.append(match.captured());
        return windows;
    }
    QString titleOf(const QString& window) const
    {
        // Older programs (xmessage) name their windows by WM_NAME alone.
        const QRegularExpressionMatch match = QRegularExpression("= \"(.*)\"").match(xprop({ "-id", window, "_NET_WM_NAME", "WM_NAME" }));
        return match.captured(1);
    }
    QString activeTitle() const
    {
        const QStringList active = windowsOf("_NET_ACTIVE_WINDOW");
        return active.isEmpty() ? QString() : titleOf(active.first());
    }
    QStringList stackedTitles() const
    {
        QStringList titles;
        for (const QString& window : windowsOf("_NET_CLIENT_LIST_STACKING"))
            titles.append(titleOf(window));
        return titles;
    }

    void start(bool executionAtStart)
    {
        UserDefaults settings(home + "/.config/Lanternwick/Lanternwick.conf");
        settings.setIsLanternwickEnabled(true);
        settings.setShowMainWindowAfterLaunch(true);
        settings.setShowWelcomeWindow(true);
        settings.setIsItemsExecutionAfterLaunchEnabled(executionAtStart);
        settings.setIsItemsExecutionAfterAwakingFromSleepEnabled(executionAtStart);
        settings.setIsNotificationCenterEnabled(false);
        // Debug lines tell when the session's list is watched.
        settings.setLoggingVerbosityLevel(3);
        settings.synchronize();
        program.setProcessEnvironment(environment);
        program.setProcessChannelMode(QProcess::MergedChannels);
        program.start(LANTERNWICK_PROGRAM);
        ASSERT_TRUE(program.waitForStarted(30000));
    }

    // The titles of the program's windows once the expected number is mapped
    // and the window manager has settled.
    void waitForWindows(int count)
    {
        ASSERT_TRUE(waitFor([&] { return windowsOf("_NET_CLIENT_LIST").size() >= count; }, 60000))
            << (output += QString::fromUtf8(program.readAll())).toStdString();
        QThread::msleep(kSettleMilliseconds);
    }
    // Whether the windows come to be as state says and stay so. On a loaded
    // machine the window manager maps the windows, and moves the focus among
    // them, well after they were shown.
    bool endsWith(const std::function<bool()>& state) const
    {
        if (!waitFor(state, 60000))
            return false;
        QThread::msleep(kSettleMilliseconds);
        return state();
    }
    bool isOnTopWithTheFocus(const QString& title) const
    {
        const QStringList stacked = stackedTitles();
        return activeTitle() == title && !stacked.isEmpty() && stacked.last() == title;
    }
    // For the messages of failed checks: the active window, then the stack from the bottom.
    std::string windows() const { return (activeTitle() + " | " + stackedTitles().join(", ")).toStdString(); }

    // A package's new autostart entry, which no item or ignored item names.
    void addEntryToSession() const
    {
        writeFile(home + "/.config/autostart/stranger.desktop", "[Desktop Entry]\nType=Application\nName=Stranger\nExec=/bin/true\n");
    }
    // Whether the main window shows the session's new entries.
    bool showsSystemItems() const
    {
        const QString systemItems = Localizator::shared().windowText(Localizator::WindowText::SystemItems);
        const QStringList stacked = stackedTitles();
        return std::any_of(stacked.cbegin(), stacked.cend(), [&](const QString& title) { return title.startsWith(systemItems); });
    }

    // Whether the program has printed text so far.
    bool printed(const QString& text)
    {
        output += QString::fromUtf8(program.readAll());
        return output.contains(text);
    }

    QString home;
    QString output;
    QProcessEnvironment environment;
    std::unique_ptr<PrivateBus> bus;
    QProcess server;
    QProcess windowManager;
    QProcess program;
};

TEST_F(WindowsAtStartTest, TheWelcomeWindowOpensInFrontOfTheMainWindowWithTheFocus)
{
    start(true);
    waitForWindows(2);
    const QString welcome = Localizator::shared().windowText(Localizator::WindowText::WelcomeTitle);
    EXPECT_TRUE(endsWith([&] { return isOnTopWithTheFocus(welcome); })) << windows();
}

TEST_F(WindowsAtStartTest, WithThePreferencesAtStartTheWelcomeWindowIsOnTopAndThePreferencesNext)
{
    // Nothing runs at start: the General preferences open too.
    start(false);
    waitForWindows(3);
    const QString welcome = Localizator::shared().windowText(Localizator::WindowText::WelcomeTitle);
    EXPECT_TRUE(endsWith([&] {
        const QStringList stacked = stackedTitles();
        return isOnTopWithTheFocus(welcome) && stacked.size() == 3 && stacked.at(1).startsWith("General");
    })) << windows();
}

TEST_F(WindowsAtStartTest, NewEntriesOfTheSessionShowTheMainWindowBehindTheWelcomeWindow)
{
    addEntryToSession();
    start(true);
    waitForWindows(2);
    // The main window shows the new entry once the session's list is read.
    ASSERT_TRUE(waitFor([&] { return showsSystemItems(); }, 60000)) << stackedTitles().join(", ").toStdString();
    waitForWindows(2);
    const QString welcome = Localizator::shared().windowText(Localizator::WindowText::WelcomeTitle);
    EXPECT_TRUE(endsWith([&] { return isOnTopWithTheFocus(welcome); })) << windows();
}

TEST_F(WindowsAtStartTest, NewEntriesWhileTheUserIsInAnotherProgramLeaveTheKeyboardThere)
{
    if (QStandardPaths::findExecutable("xmessage").isEmpty())
        GTEST_SKIP() << "xmessage is not installed: no other program to type in";
    // The main window, the General preferences and the welcome window.
    start(false);
    waitForWindows(3);
    const QString welcome = Localizator::shared().windowText(Localizator::WindowText::WelcomeTitle);
    ASSERT_TRUE(endsWith([&] { return isOnTopWithTheFocus(welcome); })) << windows();
    QProcess other;
    other.setProcessEnvironment(environment);
    other.start("xmessage", { "-title", "Other program", "typing here" });
    ASSERT_TRUE(other.waitForStarted(30000));
    ASSERT_TRUE(waitFor([&] { return activeTitle() == "Other program"; }, 60000)) << activeTitle().toStdString();

    // A package adds an entry to the session meanwhile, once the session's
    // list is watched.
    ASSERT_TRUE(waitFor([&] { return printed("for changes..."); }, 60000)) << output.toStdString();
    addEntryToSession();
    ASSERT_TRUE(waitFor([&] { return showsSystemItems(); }, 60000)) << stackedTitles().join(", ").toStdString();
    waitForWindows(3);
    EXPECT_EQ(activeTitle().toStdString(), "Other program");
    other.terminate();
    other.waitForFinished(5000);
}

} // namespace
