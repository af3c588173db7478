// The session's login items list read the way the session reads it, with the
// service program activated on a test bus. The entries are those Debian's
// desktop packages install (autostart/system) and those the desktops'
// settings write for the user (autostart/user); the programs they name are
// installed under a temporary /usr.
#include "SessionListFixture.h"

#include <QDirIterator>

namespace {

struct Session {
    QString desktop;
    // The entries the session starts as the user's applications, and the
    // files they are in.
    QStringList names;
    QStringList files;
};

void PrintTo(const Session& session, std::ostream* out)
{
    *out << session.desktop.toStdString();
}

class SessionListOfDesktopTest : public SessionListTest, public testing::WithParamInterface<Session> {};

TEST_P(SessionListOfDesktopTest, ListsTakesOverAndHandsBackExactlyTheUsersApplications)
{
    const Session& session = GetParam();
    installFixtures({ "xscreensaver", "no-such-program-installed" });
    startService(session.desktop);
    const Files before = autostartFiles();

    read();
    const QMap<QString, QString> listed = reported("KeelhouseDidFindUnknownItem");
    EXPECT_EQ(listed.keys(), session.names);
    EXPECT_TRUE(reported("KeelhouseDidFailReadingItem").isEmpty());
    EXPECT_EQ(autostartFiles(), before);

    // Taken over: each entry leaves the session's list, and nothing else.
    read(listed.values());
    EXPECT_EQ(reported("KeelhouseDidFindApplicationItem"), listed);
    EXPECT_FALSE(client->server.calls.join('\n').contains("Fail")) << client->server.calls.join('\n').toStdString();
    QStringList expectedChanges;
    for (const QString& file : session.files)
        expectedChanges.append(user + "/" + file);
    expectedChanges.sort();
    EXPECT_EQ(changedFiles(before, autostartFiles()), expectedChanges);
    read();
    EXPECT_TRUE(reported("KeelhouseDidFindUnknownItem").isEmpty());

    // Handed back: every entry as it was, byte for byte (translations,
    // show-in keys, the session's delay), in its own file with its mode.
    QVariantList records;
    for (auto it = listed.begin(); it != listed.end(); ++it)
        records.append(QVariantMap { { "path", it.value() }, { "name", it.key() } });
    create(records);
    EXPECT_FALSE(client->server.calls.join('\n').contains("Fail")) << client->server.calls.join('\n').toStdString();
    const Files after = autostartFiles();
    EXPECT_EQ(after.keys(), before.keys());
    for (const QString& path : before.keys())
        EXPECT_EQ(after.value(path).toStdString(), before.value(path).toStdString()) << path.toStdString();
    read();
    EXPECT_EQ(reported("KeelhouseDidFindUnknownItem"), listed);
}

INSTANTIATE_TEST_SUITE_P(
    Desktops, SessionListOfDesktopTest,
    testing::Values(Session { "GNOME", { "Blueman Applet", "Firefox ESR", "KeePassXC" },
                              { "blueman.desktop", "firefox-esr.desktop", "org.keepassxc.KeePassXC.desktop" } },
                    Session { "KDE", { "Blueman Applet", "Firefox ESR", "KeePassXC", "Yakuake" },
                              { "blueman.desktop", "firefox-esr.desktop", "org.kde.yakuake.desktop", "org.keepassxc.KeePassXC.desktop" } },
                    Session { "XFCE", { "Blueman Applet", "Firefox ESR", "KeePassXC", "Xfce Settings Daemon" },
                              { "blueman.desktop", "firefox-esr.desktop", "org.keepassxc.KeePassXC.desktop", "xfsettingsd.desktop" } }),
    [](const testing::TestParamInfo<Session>& info) { return info.param.desktop.toStdString(); });

TEST_F(SessionListTest, PipesAreFailedEntriesAtOnceAndTheNextRequestIsServed)
{
    const QString pipe = root + "/pipe";
    const QString pipeProgram = usr + "/bin/pipe-program";
    const QString pipeEntry = root + "/pipe.desktop";
    for (const QString& path : { pipe, pipeProgram, pipeEntry })
        ASSERT_EQ(mkfifo(QFile::encodeName(path).constData(), 0700), 0);
    makeProgram(usr + "/bin/tool");
    writeFile(user + "/own.desktop", "[Desktop Entry]\nType=Application\nName=Own\nExec=xdg-open \"" + pipeEntry.toUtf8()
                                     + "\"\nX-Lanternwick-Path=" + pipeEntry.toUtf8() + "\n");
    writeFile(user + "/try.desktop", "[Desktop Entry]\nType=Application\nName=Try\nExec=tool\nTryExec=pipe-program\n");
    writeFile(user + "/program.desktop", "[Desktop Entry]\nType=Application\nName=Program\nExec=pipe-program --flag\n");
    writeFile(user + "/entry.desktop", "[Desktop Entry]\nType=Application\nName=Entry\nExec=tool\nX-Lanternwick-Path=" + pipe.toUtf8() + "\n");
    const QString keptPipe = KeptDesktopEntries(KeptDesktopEntries::defaultFolder()).pathForEntryFile("gone.desktop");
    QDir().mkpath(QFileInfo(keptPipe).path());
    ASSERT_EQ(mkfifo(QFile::encodeName(keptPipe).constData(), 0600), 0);
    startService("GNOME");

    read();
    EXPECT_EQ(reported("KeelhouseDidFailReadingItem").keys(), QStringList({ "Entry", "Own", "Program", "Try" }));

    // Handing back a kept copy or a document that is a pipe fails at once.
    client->server.calls.clear();
    client->client.createSystemItemsWithItems({ QVariantMap { { "path", keptPipe } }, QVariantMap { { "path", pipe } } });
    waitForCall("KeelhouseDidEndCreating");
    EXPECT_TRUE(client->server.calls.contains("KeelhouseDidFailCreatingItem " + keptPipe));
    EXPECT_TRUE(client->server.calls.contains("KeelhouseDidFailCreatingItem " + pipe));
    read();
    EXPECT_EQ(reported("KeelhouseDidFailReadingItem").size(), 4);
}

// Two names of one program are two programs: xzcat and unxz run the same file.
TEST_F(SessionListTest, ProgramsThatShareALinkTargetAreToldApartAndStoredProgramPathsStillCount)
{
    makeProgram(usr + "/bin/xz");
    for (const char* name : { "xzcat", "unxz" })
        ASSERT_TRUE(QFile::link(usr + "/bin/xz", usr + "/bin/" + QLatin1String(name)));
    writeFile(user + "/xzcat.desktop", "[Desktop Entry]\nType=Application\nName=Cat\nExec=xzcat\n");
    writeFile(user + "/unxz.desktop", "[Desktop Entry]\nType=Application\nName=Unpack\nExec=unxz\n");
    startService("GNOME");

    read();
    const QMap<QString, QString> listed = reported("KeelhouseDidFindUnknownItem");
    ASSERT_EQ(listed.keys(), QStringList({ "Cat", "Unpack" }));
    EXPECT_NE(listed.value("Cat"), listed.value("Unpack"));

    // An item stored by an earlier version with the bare program path stands
    // for the entry that runs that program alone, and for no other.
    read({ usr + "/bin/xzcat" });
    EXPECT_EQ(reported("KeelhouseDidFindApplicationItem").keys(), QStringList({ "Cat" }));
    EXPECT_EQ(reported("KeelhouseDidFindUnknownItem").keys(), QStringList({ "Unpack" }));
    EXPECT_FALSE(QFileInfo::exists(user + "/xzcat.desktop"));

    client->server.calls.clear();
    client->client.deleteSystemItemsWithItems({ QVariantMap { { "path", usr + "/bin/xz" } } });
    waitForCall("KeelhouseDidEndDeleting");
    EXPECT_TRUE(QFileInfo::exists(user + "/unxz.desktop"));
    client->server.calls.clear();
    client->client.deleteSystemItemsWithItems({ QVariantMap { { "path", usr + "/bin/unxz" } } });
    waitForCall("KeelhouseDidEndDeleting");
    EXPECT_FALSE(QFileInfo::exists(user + "/unxz.desktop"));
}

// A kept copy is bound to the entry it was taken from: a package that
// later installs an entry of the same file name adds a new entry, which is
// listed, never hidden, and never changes what the item runs.
TEST_F(SessionListTest, APackagesNamesakeAddedLaterIsANewEntry)
{
    makeProgram(usr + "/bin/tool");
    const QByteArray mine = "[Desktop Entry]\nType=Application\nName=Tool\nExec=tool --mine\n";
    writeUserEntry("tool.desktop", mine);
    startService("GNOME");
    read();
    const QString kept = reported("KeelhouseDidFindUnknownItem").value("Tool");
    ASSERT_FALSE(kept.isEmpty());
    const QByteArray keptContents = contentsOf(kept);
    read({ kept });
    EXPECT_FALSE(QFileInfo::exists(user + "/tool.desktop"));

    const QByteArray packaged = "[Desktop Entry]\nType=Application\nName=Packaged tool\nExec=tool --package\n";
    writeFile(system + "/tool.desktop", packaged);
    read({ kept });
    const QMap<QString, QString> listed = reported("KeelhouseDidFindUnknownItem");
    EXPECT_EQ(listed.keys(), QStringList { "Packaged tool" });
    EXPECT_NE(listed.value("Packaged tool"), kept);
    EXPECT_TRUE(reported("KeelhouseDidFindApplicationItem").isEmpty());
    EXPECT_EQ(contentsOf(kept), keptContents);
    EXPECT_FALSE(QFileInfo::exists(user + "/tool.desktop"));

    // Handed back, the user's entry comes back beside the package's, which stays shown.
    create({ QVariantMap { { "path", kept } } });
    EXPECT_FALSE(client->server.calls.join('\n').contains("Fail")) << client->server.calls.join('\n').toStdString();
    EXPECT_FALSE(QFileInfo::exists(user + "/tool.desktop"));
    EXPECT_EQ(contentsOf(system + "/tool.desktop"), packaged);
    read();
    EXPECT_EQ(reported("KeelhouseDidFindUnknownItem").keys(), QStringList({ "Packaged tool", "Tool" }));
    EXPECT_EQ(reported("KeelhouseDidFindUnknownItem").value("Tool"), kept);
}

// The user's own copy of a system entry is what a take-over keeps, whatever
// else is created meanwhile, and what the hand-back restores.
TEST_F(SessionListTest, AUsersCopyShadowingASystemEntryIsKeptAndGivenBack)
{
    makeProgram(usr + "/bin/tool");
    makeProgram(usr + "/bin/other");
    const QByteArray packaged = "[Desktop Entry]\nType=Application\nName=Tool\nExec=tool\n";
    const QByteArray own = "# Mine\n[Desktop Entry]\nType=Application\nName=My tool\nName[de]=Mein Werkzeug\n"
                           "Exec=tool --my-arguments\nX-GNOME-Autostart-Delay=5\n";
    writeFile(system + "/tool.desktop", packaged);
    writeUserEntry("tool.desktop", own);
    startService("GNOME");
    read();
    const QMap<QString, QString> listed = reported("KeelhouseDidFindUnknownItem");
    ASSERT_EQ(listed.keys(), QStringList { "My tool" });
    const QString kept = listed.value("My tool");
    const QByteArray keptContents = contentsOf(kept);

    // Taken over, the system's entry stays shadowed.
    read({ kept });
    EXPECT_TRUE(reported("KeelhouseDidFindApplicationItem").contains("My tool"));
    create({ QVariantMap { { "path", usr + "/bin/other" } } });
    read({ kept });
    EXPECT_EQ(reported("KeelhouseDidFindUnknownItem").keys(), QStringList { "other" });
    EXPECT_TRUE(reported("KeelhouseDidFindApplicationItem").isEmpty());
    EXPECT_EQ(contentsOf(kept), keptContents);

    create({ QVariantMap { { "path", kept } } });
    EXPECT_EQ(contentsOf(user + "/tool.desktop"), own);
    EXPECT_EQ(modeOf(user + "/tool.desktop"), 0644);
    EXPECT_EQ(contentsOf(system + "/tool.desktop"), packaged);
    read();
    EXPECT_EQ(reported("KeelhouseDidFindUnknownItem").value("My tool"), kept);
}

// The map from commands to installed applications reads only regular files:
// a pipe among them never hangs the service. An application of the very same
// command lends an entry its icon, never its file.
TEST_F(SessionListTest, APipeAmongTheApplicationsIsPassedOverAndTheNextRequestIsServed)
{
    makeProgram(usr + "/bin/tool");
    const QString applications = root + "/share/applications";
    const QString ownApplications = qEnvironmentVariable("XDG_DATA_HOME") + "/applications";
    for (const QString& folder : { applications + "/sub", ownApplications })
        QDir().mkpath(folder);
    for (const QString& pipe : { applications + "/a-pipe.desktop", ownApplications + "/pipe.desktop" })
        ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    // A subfolder's entry is known by its desktop ID, shadowed by the user's own.
    writeFile(applications + "/sub/tool.desktop", "[Desktop Entry]\nType=Application\nName=Tool\nIcon=sub-tool\nExec=tool --app\n");
    writeFile(applications + "/z-tool.desktop", "[Desktop Entry]\nType=Application\nName=Tool\nIcon=z-tool\nExec=tool --app\n");
    writeFile(applications + "/sub-other.desktop", "[Desktop Entry]\nType=Application\nName=Other\nExec=tool --other\n");
    writeFile(ownApplications + "/sub-other.desktop", "[Desktop Entry]\nType=Application\nName=Other\nExec=tool --own\n");
    writeUserEntry("app.desktop", "[Desktop Entry]\nType=Application\nName=App\nExec=tool --app\n");
    writeUserEntry("other.desktop", "[Desktop Entry]\nType=Application\nName=Other entry\nExec=tool --other\n");
    startService("GNOME");

    read();
    const QMap<QString, QString> listed = reported("KeelhouseDidFindUnknownItem");
    const KeptDesktopEntries kept(KeptDesktopEntries::defaultFolder());
    ASSERT_TRUE(kept.isKeptCopy(listed.value("App")));
    EXPECT_EQ(DesktopEntryFile::load(listed.value("App"))->string("Icon"), "sub-tool");
    ASSERT_TRUE(kept.isKeptCopy(listed.value("Other entry")));
    EXPECT_FALSE(DesktopEntryFile::load(listed.value("Other entry"))->hasKey("Icon"));
    read();
    EXPECT_EQ(reported("KeelhouseDidFindUnknownItem"), listed);
    QDir(ownApplications).removeRecursively();
}

// '%' in a program's path: GIO looks the program up before it reads "%%"
// as '%', so the copy runs it through env, and hands back the entry as it was.
TEST_F(SessionListTest, AnEntryWithPercentInItsProgramPathIsMovedIgnoredAndHandedBack)
{
    const QString folder = usr + "/100% sure";
    QDir().mkpath(folder);
    makeProgram(folder + "/tool");
    const QByteArray entry = "[Desktop Entry]\nType=Application\nName=Sure\nExec=\"" + QFile::encodeName(folder).replace("%", "%%")
                             + "/tool\" --flag\n";
    writeUserEntry("sure.desktop", entry);
    startService("GNOME");
    read();
    EXPECT_TRUE(reported("KeelhouseDidFailReadingItem").isEmpty());
    const QString kept = reported("KeelhouseDidFindUnknownItem").value("Sure");
    ASSERT_FALSE(kept.isEmpty());
    const std::optional<DesktopEntryFile> copy = DesktopEntryFile::load(kept);
    ASSERT_TRUE(copy && copy->commandLine());
    EXPECT_EQ(DesktopEntryFile::commandArguments(*copy->commandLine()),
              QStringList({ "env", QString(folder).replace("%", "%%") + "/tool", "--flag" }));

    client->server.calls.clear();
    client->client.readSystemItemsWithIgnoredItems({ QVariantMap { { MHItemDataKeys::type, "file" }, { MHItemDataKeys::path, kept } } }, {}, {});
    waitForCall("KeelhouseDidEndReading");
    EXPECT_TRUE(client->server.calls.contains("KeelhouseDidFindIgnoredItem " + kept));

    read({ kept });
    EXPECT_TRUE(client->server.calls.contains("KeelhouseDidFindApplicationItem " + kept));
    EXPECT_FALSE(QFileInfo::exists(user + "/sure.desktop"));
    create({ QVariantMap { { "path", kept } } });
    EXPECT_EQ(contentsOf(user + "/sure.desktop"), entry);
}

// Handed back switched off, an item the user set not to start is started by
// no desktop: GNOME reads X-GNOME-Autostart-enabled, KDE and Xfce Hidden.
TEST_F(SessionListTest, DontStartItemsAreHandedBackSwitchedOff)
{
    makeProgram(usr + "/bin/tool");
    makeProgram(usr + "/bin/daemon");
    const QByteArray own = "[Desktop Entry]\nType=Application\nName=Tool\nName[fr]=Outil\nExec=tool --mine\n";
    const QByteArray packaged = "[Desktop Entry]\nType=Application\nName=Daemon\nExec=daemon\n";
    writeUserEntry("tool.desktop", own);
    writeFile(system + "/daemon.desktop", packaged);
    startService("GNOME");
    read();
    const QMap<QString, QString> listed = reported("KeelhouseDidFindUnknownItem");
    ASSERT_EQ(listed.keys(), QStringList({ "Daemon", "Tool" }));
    read(listed.values());

    QVariantList items;
    for (const QString& path : listed)
        items.append(QVariantMap { { MHItemDataKeys::type, "file" }, { MHItemDataKeys::path, path }, { MHItemDataKeys::disabled, true } });
    client->server.calls.clear();
    client->client.uninstallLanternwickWithIgnoredItems({}, items);
    waitForCall("KeelhouseDidEndUninstalling");
    EXPECT_FALSE(client->server.calls.join('\n').contains("Fail")) << client->server.calls.join('\n').toStdString();
    for (const auto& [file, was] : { std::pair { user + "/tool.desktop", own }, std::pair { user + "/daemon.desktop", packaged } }) {
        EXPECT_EQ(contentsOf(file), was + "X-GNOME-Autostart-enabled=false\nHidden=true\n") << file.toStdString();
        EXPECT_EQ(modeOf(file), 0644);
    }
    EXPECT_EQ(contentsOf(system + "/daemon.desktop"), packaged);
    read();
    EXPECT_TRUE(reported("KeelhouseDidFindUnknownItem").isEmpty());
}

} // namespace
