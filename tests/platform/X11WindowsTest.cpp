// Windows on X11: a launch has finished once its program shows a window, and a
// program opened hidden has its windows minimised. Each test runs its own
// Xvfb, with no window manager: the test watches for the requests a window
// manager would act on.
#include "WorkspaceTestEnvironment.h"
#include "platform/linux/LinuxWorkspace.h"
#include "support/EndToEnd.h"
#include "support/TestHome.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <algorithm>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <utility>
#include <xcb/xcb.h>

using namespace workspace_test;
using State = Workspace::ApplicationState;

namespace {

// Restores an environment variable when it goes.
class SavedVariable {
public:
    explicit SavedVariable(const char* name)
        : m_name(name)
        , m_wasSet(qEnvironmentVariableIsSet(name))
        , m_value(qgetenv(name))
    {
    }
    ~SavedVariable()
    {
        if (m_wasSet)
            qputenv(m_name, m_value);
        else
            qunsetenv(m_name);
    }

private:
    const char* m_name;
    bool m_wasSet;
    QByteArray m_value;
};

uint32_t internAtom(xcb_connection_t* connection, const char* name)
{
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection,
        xcb_intern_atom(connection, 0, static_cast<uint16_t>(qstrlen(name)), name), nullptr);
    const uint32_t atom = reply ? reply->atom : 0;
    free(reply);
    return atom;
}

TEST(X11WindowsTest, WithoutADisplayWindowsCannotBeHidden)
{
    const SavedVariable display("DISPLAY");
    qunsetenv("DISPLAY");
    LinuxWorkspace workspace;
    EXPECT_FALSE(workspace.hideWindowsOfApplication(helperPath()));
}

class X11DisplayTest : public testing::Test {
protected:
    void SetUp() override
    {
        const QString xvfb = QStandardPaths::findExecutable("Xvfb");
        if (xvfb.isEmpty())
            GTEST_SKIP() << "Xvfb is not installed.";
        // Xvfb picks a free display and tells its number on the descriptor given.
        server.start(xvfb, { "-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "640x480x24" });
        ASSERT_TRUE(server.waitForStarted());
        QByteArray number;
        const QDeadlineTimer deadline(60000);
        while (!number.contains('\n') && !deadline.hasExpired() && server.state() == QProcess::Running) {
            server.waitForReadyRead(100);
            number += server.readAllStandardOutput();
        }
        ASSERT_TRUE(number.contains('\n')) << "Xvfb told no display.";
        qputenv("DISPLAY", ":" + number.trimmed());
        qunsetenv("WAYLAND_DISPLAY");
        connection = xcb_connect(nullptr, nullptr);
        ASSERT_FALSE(xcb_connection_has_error(connection));
        root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
        folder = freshTestFolder("x11-" + QString::fromUtf8(testing::UnitTest::GetInstance()->current_test_info()->name()));
        // Only a window can finish a launch within the test.
        workspace = std::make_unique<LinuxWorkspace>(QStringLiteral("/proc"), 1000.0);
    }

    void TearDown() override
    {
        for (const QString& program : windowPrograms)
            QFile::remove(program + ".shown");
        workspace.reset();
        if (connection)
            xcb_disconnect(connection);
        if (server.state() != QProcess::NotRunning) {
            server.terminate();
            server.waitForFinished(10000);
        }
    }

    // A copy of the program that shows a window.
    QString windowProgram(const QString& name)
    {
        const QString path = folder + "/" + name;
        EXPECT_TRUE(QFile::copy(QStringLiteral(LW_TEST_WINDOW), path));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner);
        windowPrograms.append(path);
        return path;
    }

    struct Shown {
        qint64 pid = 0;
        uint32_t window = 0;
    };

    // The program's pid and window once its window shows; zeros when it does not.
    static Shown waitForShown(const QString& program)
    {
        QFile marker(program + ".shown");
        const QDeadlineTimer deadline(60000);
        while (!marker.exists() && !deadline.hasExpired())
            QThread::msleep(10);
        if (!marker.open(QIODevice::ReadOnly))
            return {};
        const QList<QByteArray> fields = marker.readAll().simplified().split(' ');
        return { fields.value(0).toLongLong(), fields.value(1).toUInt() };
    }

    static qint64 waitForWindow(const QString& program) { return waitForShown(program).pid; }

    qint64 ownerOfWindow(uint32_t window) const
    {
        xcb_get_property_reply_t* reply = xcb_get_property_reply(connection,
            xcb_get_property(connection, 0, window, internAtom(connection, "_NET_WM_PID"), XCB_ATOM_CARDINAL, 0, 1), nullptr);
        qint64 pid = 0;
        if (reply && xcb_get_property_value_length(reply) == 4)
            pid = *static_cast<const uint32_t*>(xcb_get_property_value(reply));
        free(reply);
        return pid;
    }

    // The windows the window manager is asked to minimise, until it is asked for the one given.
    QList<uint32_t> minimisedUntil(uint32_t window, uint32_t changeState) const
    {
        QList<uint32_t> minimised;
        const QDeadlineTimer deadline(60000);
        while (!minimised.contains(window) && !deadline.hasExpired()) {
            xcb_generic_event_t* event = xcb_poll_for_event(connection);
            if (!event) {
                QThread::msleep(10);
                continue;
            }
            const auto* message = reinterpret_cast<const xcb_client_message_event_t*>(event);
            if ((event->response_type & 0x7f) == XCB_CLIENT_MESSAGE && message->type == changeState) {
                EXPECT_EQ(message->format, 32);
                EXPECT_EQ(message->data.data32[0], 3u) << "IconicState";
                minimised.append(message->window);
            }
            free(event);
        }
        return minimised;
    }

    // Asked of the server itself, with no window manager: the program tells
    // that its window shows only later, which a loaded machine makes long.
    bool isAnyWindowMapped() const
    {
        xcb_query_tree_reply_t* tree = xcb_query_tree_reply(connection, xcb_query_tree(connection, root), nullptr);
        if (!tree)
            return false;
        const xcb_window_t* children = xcb_query_tree_children(tree);
        bool mapped = false;
        for (int child = 0; child < xcb_query_tree_children_length(tree) && !mapped; ++child) {
            xcb_get_window_attributes_reply_t* attributes = xcb_get_window_attributes_reply(connection,
                xcb_get_window_attributes(connection, children[child]), nullptr);
            mapped = attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
            free(attributes);
        }
        free(tree);
        return mapped;
    }

    bool soonFinished(const QString& item) const
    {
        const QDeadlineTimer deadline(60000);
        while (workspace->applicationStateForItemAtPath(item) != State::FinishedLaunching) {
            if (deadline.hasExpired())
                return false;
            QThread::msleep(20);
        }
        return true;
    }

    QProcess server;
    xcb_connection_t* connection = nullptr;
    uint32_t root = 0;
    QString folder;
    QStringList windowPrograms;
    std::unique_ptr<LinuxWorkspace> workspace;
};

TEST_F(X11DisplayTest, ALaunchHasFinishedOnceItsProgramShowsAWindow)
{
    const QString windowed = windowProgram("windowed");
    const QString quiet = folder + "/quiet";
    installHelper(quiet);
    const QString quietEntry = folder + "/quiet.desktop";
    writeDesktopEntry(quietEntry, "Quiet", execQuoted(quiet) + " --stay");

    ASSERT_TRUE(workspace->openItemAtPath(windowed, {}).succeeded);
    ASSERT_TRUE(workspace->openItemAtPath(quietEntry, {}).succeeded);
    ASSERT_NE(waitForWindow(windowed), 0);
    ASSERT_FALSE(waitForRun(quiet).isEmpty());

    EXPECT_TRUE(soonFinished(windowed));
    EXPECT_EQ(workspace->applicationStateForItemAtPath(quietEntry), State::Launching);
    // A program that never shows a window has finished after the settled moment.
    EXPECT_EQ(LinuxWorkspace(QStringLiteral("/proc"), 0.0).applicationStateForItemAtPath(quietEntry),
        State::FinishedLaunching);
    forgetRun(quiet);
}

TEST_F(X11DisplayTest, TheWindowsOfAProgramOpenedHiddenAreMinimisedAsTheyShow)
{
    // Requests to the window manager are sent to the root window.
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
    free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    const uint32_t changeState = internAtom(connection, "WM_CHANGE_STATE");
    const QString shown = windowProgram("shown");
    const QString hidden = windowProgram("hidden");
    // Its window names no process: the server tells whose connection made it.
    const QString anonymous = windowProgram("anonymous");
    const QString anonymousEntry = folder + "/anonymous.desktop";
    writeDesktopEntry(anonymousEntry, "Anonymous", execQuoted(anonymous) + " --anonymous");

    ASSERT_TRUE(workspace->openItemAtPath(shown, {}).succeeded);
    const Shown shownWindow = waitForShown(shown);
    ASSERT_TRUE(workspace->openItemAtPath(hidden, { .hidden = true }).succeeded);
    const Shown hiddenWindow = waitForShown(hidden);
    ASSERT_NE(shownWindow.window, 0u);
    ASSERT_NE(hiddenWindow.window, 0u);
    EXPECT_EQ(ownerOfWindow(hiddenWindow.window), hiddenWindow.pid);

    EXPECT_EQ(minimisedUntil(hiddenWindow.window, changeState), QList<uint32_t> { hiddenWindow.window });
    ASSERT_TRUE(workspace->openItemAtPath(anonymousEntry, { .hidden = true }).succeeded);
    const Shown anonymousWindow = waitForShown(anonymous);
    ASSERT_NE(anonymousWindow.window, 0u);
    EXPECT_EQ(ownerOfWindow(anonymousWindow.window), 0);
    EXPECT_EQ(minimisedUntil(anonymousWindow.window, changeState), QList<uint32_t> { anonymousWindow.window });
    // Forced hiding of a program already shown.
    EXPECT_TRUE(workspace->hideWindowsOfApplication(shown));
    EXPECT_EQ(minimisedUntil(shownWindow.window, changeState), QList<uint32_t> { shownWindow.window });
}

TEST_F(X11DisplayTest, AProgramBusyBeforeItsWindowIsLaunchingUntilTheWindowShows)
{
    const QString busy = windowProgram("busy");
    const QString busyEntry = folder + "/busy.desktop";
    writeDesktopEntry(busyEntry, "Busy", execQuoted(busy) + " --busy 3");
    // As a run judges: one look kept, looked at again four times a second.
    workspace = std::make_unique<LinuxWorkspace>(QStringLiteral("/proc"), 1.0);
    const std::unique_ptr<Workspace::RunningItems> running = workspace->runningItems();
    QElapsedTimer waited;
    waited.start();
    ASSERT_TRUE(workspace->openItemAtPath(busyEntry, {}).succeeded);
    State state = State::NotRunning;
    while (state != State::FinishedLaunching && waited.elapsed() < 30000) {
        QThread::msleep(250);
        running->refresh();
        state = running->stateForItemAtPath(busyEntry);
    }
    EXPECT_EQ(state, State::FinishedLaunching);
    EXPECT_GE(waited.elapsed(), 3000);
    EXPECT_NE(waitForWindow(busy), 0);
}

// The states a run sees, four looks a second, from the launch of item until
// it has finished launching; each look also tells whether the window showed
// by the end of the look: a launch that finished before its window shows none.
struct Look {
    State state;
    bool windowShown;
};

QList<Look> looksUntilFinished(Workspace& workspace, const QString& item, const std::function<bool()>& isWindowShown)
{
    const std::unique_ptr<Workspace::RunningItems> running = workspace.runningItems();
    QList<Look> looks;
    QElapsedTimer waited;
    waited.start();
    EXPECT_TRUE(workspace.openItemAtPath(item, {}).succeeded);
    // The bound only ends a hang: a loaded machine starves a launcher long.
    while ((looks.isEmpty() || looks.constLast().state != State::FinishedLaunching) && waited.elapsed() < 120000) {
        QThread::msleep(250);
        running->refresh();
        const State state = running->stateForItemAtPath(item);
        looks.append({ state, isWindowShown() });
    }
    return looks;
}

void expectLaunchingUntilTheWindow(const QList<Look>& looks)
{
    ASSERT_FALSE(looks.isEmpty());
    EXPECT_EQ(looks.constLast().state, State::FinishedLaunching);
    for (qsizetype look = 0; look + 1 < looks.size(); ++look)
        EXPECT_NE(looks[look].state, State::NotRunning) << "look " << look;
    EXPECT_TRUE(looks.constLast().windowShown) << "finished before its window, after " << looks.size() << " looks";
}

QString script(const QString& path, const QString& body)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(("#!/bin/sh\n" + body).toUtf8());
    file.close();
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

// Many desktop launchers do their start-up work in small child processes:
// the launcher's own processor time stays low while its children work, and
// the time of the children that ended counts all the same.
TEST_F(X11DisplayTest, ALauncherScriptThatForksItsWorkIsLaunchingUntilTheWindow)
{
    const QString window = windowProgram("forked");
    const QString launcher = script(folder + "/launcher",
        QStringLiteral("i=0\nwhile [ $i -lt 1500 ]; do /bin/true; i=$((i+1)); done\nexec %1\n").arg(execQuoted(window)));
    workspace = std::make_unique<LinuxWorkspace>(QStringLiteral("/proc"), 1.0);
    expectLaunchingUntilTheWindow(looksUntilFinished(*workspace, launcher, [&] { return isAnyWindowMapped(); }));
    EXPECT_NE(waitForWindow(window), 0);
}

// A launcher that sleeps before it starts its program uses no processor while
// it sleeps, in itself ("sh -c 'sleep 3; exec prog'") or in what it left
// behind (a double fork, setsid -f): it is launching until the window all the
// same.
TEST_F(X11DisplayTest, ALauncherThatSleepsBeforeItsProgramIsLaunchingUntilTheWindow)
{
    workspace = std::make_unique<LinuxWorkspace>(QStringLiteral("/proc"), 1.0);
    const QList<std::pair<QString, QString>> launchers {
        { QStringLiteral("slept"), QStringLiteral("sleep 3; exec %1\n") },
        { QStringLiteral("double-forked"), QStringLiteral("( sleep 3; exec %1 ) &\n") },
        { QStringLiteral("set-apart"), QStringLiteral("setsid -f sh -c 'sleep 3; exec %1'\n") },
    };
    for (const auto& [name, body] : launchers) {
        SCOPED_TRACE(name.toStdString());
        const QString window = windowProgram(name);
        const QString launcher = script(window + "-launcher", body.arg(execQuoted(window)));
        QElapsedTimer waited;
        waited.start();
        expectLaunchingUntilTheWindow(looksUntilFinished(*workspace, launcher, [&] { return isAnyWindowMapped(); }));
        EXPECT_GE(waited.elapsed(), 3000);
        // Ends the program, and its window with it, before the next launcher.
        EXPECT_NE(waitForWindow(window), 0);
        QFile::remove(window + ".shown");
        EXPECT_TRUE(waitFor([&] { return !isAnyWindowMapped(); }, 20000));
    }
}

// A launcher that detaches the program (setsid ... &) and exits: the program
// is adopted by this process and followed until its window shows.
TEST_F(X11DisplayTest, AProgramDetachedByItsLauncherIsLaunchingUntilTheWindow)
{
    const QString window = windowProgram("detached");
    const QString launcher = script(folder + "/launcher", QStringLiteral("setsid %1 --busy 2 &\n").arg(execQuoted(window)));
    workspace = std::make_unique<LinuxWorkspace>(QStringLiteral("/proc"), 1.0);
    QElapsedTimer waited;
    waited.start();
    expectLaunchingUntilTheWindow(looksUntilFinished(*workspace, launcher, [&] { return isAnyWindowMapped(); }));
    EXPECT_GE(waited.elapsed(), 2000);
    EXPECT_NE(waitForWindow(window), 0);
}

// Detached and without a window: finished once its work is done and it has
// been idle for the settled moment.
TEST_F(X11DisplayTest, ADetachedProgramWithoutAWindowHasFinishedOnceIdle)
{
    const QString pidFile = folder + "/detached.pid";
    const QString worked = folder + "/worked";
    const QString idle = folder + "/idle";
    installHelper(idle);
    const QString launcher = script(folder + "/launcher",
        QStringLiteral("setsid sh -c 'i=0; while [ $i -lt 1000 ]; do /bin/true; i=$((i+1)); done; : > %1; exec %3 --stay' &\n"
                       "echo $! > %2\n")
            .arg(execQuoted(worked), execQuoted(pidFile), execQuoted(idle)));
    workspace = std::make_unique<LinuxWorkspace>(QStringLiteral("/proc"), 1.0);
    const QList<Look> looks = looksUntilFinished(*workspace, launcher, [] { return false; });
    ASSERT_FALSE(looks.isEmpty());
    EXPECT_EQ(looks.constLast().state, State::FinishedLaunching);
    for (qsizetype look = 0; look + 1 < looks.size(); ++look)
        EXPECT_NE(looks[look].state, State::NotRunning) << "look " << look;
    EXPECT_TRUE(QFile::exists(worked)) << "finished before its work was done";
    const pid_t detached = static_cast<pid_t>(QString::fromLatin1(readFile(pidFile)).trimmed().toLongLong());
    ASSERT_GT(detached, 1);
    ::kill(detached, SIGTERM);
}

// A program started through a wrapper that execs it (as distribution
// launchers do) runs only as the real program: a later start knows it by the
// desktop file it was launched from, or by the launch it remembers.
TEST_F(X11DisplayTest, AProgramStartedThroughAWrapperIsKnownToALaterStart)
{
    const QString window = windowProgram("wrapped");
    const QString wrapper = script(folder + "/wrapper", QStringLiteral("exec %1 \"$@\"\n").arg(execQuoted(window)));
    const QString entry = folder + "/wrapped.desktop";
    writeDesktopEntry(entry, "Wrapped", execQuoted(wrapper));
    ASSERT_TRUE(workspace->openItemAtPath(entry, {}).succeeded);
    ASSERT_NE(waitForWindow(window), 0);
    EXPECT_NE(LinuxWorkspace().applicationStateForItemAtPath(entry), State::NotRunning) << "by its desktop file";

    QFile::remove(window + ".shown");
    ASSERT_TRUE(waitFor([&] { return LinuxWorkspace().applicationStateForItemAtPath(entry) == State::NotRunning; }, 10000));
    const Workspace::LaunchResult launched = workspace->openItemAtPath(wrapper, {});
    ASSERT_TRUE(launched.succeeded);
    ASSERT_NE(waitForWindow(window), 0);
    LinuxWorkspace later;
    EXPECT_EQ(later.applicationStateForItemAtPath(wrapper), State::NotRunning) << "its command shows only the real program";
    later.rememberLaunch(wrapper, launched.pid, launched.startTicks);
    EXPECT_NE(later.applicationStateForItemAtPath(wrapper), State::NotRunning) << "by the launch remembered";
}

} // namespace
