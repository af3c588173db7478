// Entries taken over and handed back through the service on a test bus, as
// real packages and desktops leave them: each entry is kept as itself, comes
// back as it was, follows its package's upgrades, and no folder layout or
// request holds the service.
#include "SessionListFixture.h"

#include <QScopeGuard>
#include <unistd.h>

namespace {

using TakenOverEntriesTest = SessionListTest;

// Links from an applications folder to itself or to a folder above it.
TEST_F(TakenOverEntriesTest, FolderLinkLoopsAmongTheApplicationsNeverHoldTheService)
{
    const QString own = qEnvironmentVariable("XDG_DATA_HOME") + "/applications";
    const QString shared = root + "/share/applications";
    const auto cleanUp = qScopeGuard([&] { QDir(own).removeRecursively(); });
    QDir().mkpath(own);
    QDir().mkpath(shared + "/kde");
    for (const auto& [target, link] : { std::pair { ".", own + "/self1" }, std::pair { ".", own + "/self2" },
                                        std::pair { "..", shared + "/kde/up" }, std::pair { "../..", shared + "/kde/top" } })
        ASSERT_EQ(::symlink(target, QFile::encodeName(link).constData()), 0);
    makeProgram(usr + "/bin/xterm");
    writeFile(shared + "/debian-xterm.desktop", "[Desktop Entry]\nName=XTerm\nComment=standard terminal emulator for the X window system\n"
                                                "Exec=xterm\nTerminal=false\nType=Application\nIcon=mini.xterm\nCategories=System;TerminalEmulator;\n");
    writeUserEntry("xterm.desktop", "[Desktop Entry]\nType=Application\nName=Terminal\nExec=xterm\n");
    startService("GNOME");

    read();
    const QString kept = reported("KeelhouseDidFindUnknownItem").value("Terminal");
    ASSERT_FALSE(kept.isEmpty());
    // The application still lends the entry its icon.
    EXPECT_EQ(DesktopEntryFile::load(kept)->string("Icon"), "mini.xterm");
    read();
    EXPECT_EQ(reported("KeelhouseDidFindUnknownItem").value("Terminal"), kept);
}

// Two entries of the user run the command of an installed application: each
// is its own entry, taken over and handed back alone, as it was.
TEST_F(TakenOverEntriesTest, EntriesOfOneInstalledCommandAreTakenOverAloneAndComeBackAsTheyWere)
{
    makeProgram(usr + "/bin/xterm");
    writeFile(root + "/share/applications/debian-xterm.desktop",
              "[Desktop Entry]\nName=XTerm\nExec=xterm\nType=Application\nIcon=mini.xterm\n");
    const QByteArray gnomeOnly = "[Desktop Entry]\nType=Application\nName=Login shell\nName[de]=Anmelde-Shell\n"
                                 "Comment=A shell at login, in GNOME only\nExec=xterm\nOnlyShowIn=GNOME;\n";
    const QByteArray later = "[Desktop Entry]\nType=Application\nName=Later shell\nExec=xterm\nX-GNOME-Autostart-Delay=30\n";
    writeUserEntry("xt-gnome.desktop", gnomeOnly);
    ASSERT_EQ(::chmod(QFile::encodeName(user + "/xt-gnome.desktop").constData(), 0600), 0);
    writeUserEntry("xt-later.desktop", later);
    startService("GNOME");

    read();
    const QMap<QString, QString> listed = reported("KeelhouseDidFindUnknownItem");
    ASSERT_EQ(listed.keys(), QStringList({ "Later shell", "Login shell" }));
    EXPECT_NE(listed.value("Later shell"), listed.value("Login shell"));
    const Files before = autostartFiles();

    read({ listed.value("Login shell") });
    EXPECT_EQ(reported("KeelhouseDidFindApplicationItem").keys(), QStringList { "Login shell" });
    EXPECT_EQ(changedFiles(before, autostartFiles()), QStringList { user + "/xt-gnome.desktop" });
    read();
    EXPECT_EQ(reported("KeelhouseDidFindUnknownItem").keys(), QStringList { "Later shell" });

    create({ QVariantMap { { "path", listed.value("Login shell") }, { "name", "Login shell" } } });
    EXPECT_FALSE(client->server.calls.join('\n').contains("Fail")) << client->server.calls.join('\n').toStdString();
    EXPECT_EQ(autostartFiles(), before);
    EXPECT_EQ(modeOf(user + "/xt-gnome.desktop"), 0600);
}

// The package of a taken-over system entry changes it: the entry as it is now
// is listed as new, and handing back the old one lifts our override, so that
// the session starts the package's current entry and nothing else.
class UpgradedSystemEntryTest : public SessionListTest, public testing::WithParamInterface<bool> {};

TEST_P(UpgradedSystemEntryTest, IsListedAsNewAndTheHandBackLeavesItToTheSession)
{
    const bool renamesProgram = GetParam();
    const QByteArray packaged = contentsOf(QStringLiteral(LW_AUTOSTART_FIXTURES) + "/system/blueman.desktop");
    QByteArray upgraded = packaged + "Name[eo]=Blueman-aplikaĵeto\n";
    if (renamesProgram)
        upgraded = QByteArray(packaged).replace("Exec=blueman-applet", "Exec=blueman-tray").replace("Name=Blueman Applet", "Name=Blueman Tray");
    ASSERT_NE(upgraded, packaged);
    makeProgram(usr + "/bin/blueman-applet");
    writeFile(system + "/blueman.desktop", packaged);
    startService("GNOME");
    read();
    const QString kept = reported("KeelhouseDidFindUnknownItem").value("Blueman Applet");
    ASSERT_FALSE(kept.isEmpty());
    read({ kept });
    ASSERT_TRUE(reported("KeelhouseDidFindApplicationItem").contains("Blueman Applet"));
    const QByteArray override = contentsOf(user + "/blueman.desktop");

    writeFile(system + "/blueman.desktop", upgraded);
    if (renamesProgram) {
        QFile::remove(usr + "/bin/blueman-applet");
        makeProgram(usr + "/bin/blueman-tray");
    }
    const QString newName = renamesProgram ? "Blueman Tray" : "Blueman Applet";
    read({ kept });
    const QMap<QString, QString> listed = reported("KeelhouseDidFindUnknownItem");
    ASSERT_EQ(listed.keys(), QStringList { newName });
    EXPECT_NE(listed.value(newName), kept);
    EXPECT_TRUE(reported("KeelhouseDidFindApplicationItem").isEmpty());
    EXPECT_EQ(contentsOf(user + "/blueman.desktop"), override);

    create({ QVariantMap { { "path", kept } } });
    EXPECT_FALSE(client->server.calls.join('\n').contains("Fail")) << client->server.calls.join('\n').toStdString();
    EXPECT_TRUE(QDir(user).entryList(QDir::Files | QDir::Hidden).isEmpty());
    EXPECT_EQ(contentsOf(system + "/blueman.desktop"), upgraded);
    read();
    EXPECT_EQ(reported("KeelhouseDidFindUnknownItem"), listed);
}

INSTANTIATE_TEST_SUITE_P(Upgrades, UpgradedSystemEntryTest, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& info) { return info.param ? "ProgramRenamed" : "TranslationAdded"; });

// GIO and the session load an entry whose texts are Latin-1: it is listed
// under its name, and moves and comes back byte for byte.
TEST_F(TakenOverEntriesTest, AnEntryInLatin1IsListedByNameAndComesBackByteForByte)
{
    makeProgram(usr + "/bin/xscreensaver");
    const QByteArray latin1 = "[Desktop Entry]\nType=Application\nName=Économiseur d'écran\nName[de]=Bildschirmschoner\n"
                              "Comment=Démarre l'économiseur\nExec=xscreensaver -no-splash\n";
    const QByteArray entry = QString::fromUtf8(latin1).toLatin1();
    ASSERT_NE(entry, latin1);
    writeUserEntry("xscreensaver.desktop", entry);
    startService("GNOME");

    read();
    EXPECT_TRUE(reported("KeelhouseDidFailReadingItem").isEmpty());
    const QString kept = reported("KeelhouseDidFindUnknownItem").value(QString::fromUtf8("Économiseur d'écran"));
    ASSERT_FALSE(kept.isEmpty());
    // The copy shows the texts to the launcher and the views.
    const std::optional<DesktopEntryFile> copy = DesktopEntryFile::load(kept);
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->string("Name"), QString::fromUtf8("Économiseur d'écran"));
    EXPECT_EQ(copy->string("Comment"), QString::fromUtf8("Démarre l'économiseur"));

    read({ kept });
    EXPECT_FALSE(QFileInfo::exists(user + "/xscreensaver.desktop"));
    create({ QVariantMap { { "path", kept } } });
    EXPECT_EQ(contentsOf(user + "/xscreensaver.desktop"), entry);
    EXPECT_EQ(modeOf(user + "/xscreensaver.desktop"), 0644);
}

// Handed back by a create request (Move to Startup Applications, the ignored
// pane's Copy), an item set not to start is switched off as well.
TEST_F(TakenOverEntriesTest, DontStartItemsHandedBackByACreateAreSwitchedOff)
{
    makeProgram(usr + "/bin/blueman-applet");
    makeProgram(usr + "/bin/keepassxc");
    const QByteArray packaged = contentsOf(QStringLiteral(LW_AUTOSTART_FIXTURES) + "/system/blueman.desktop");
    const QByteArray own = "[Desktop Entry]\nType=Application\nName=KeePassXC\nExec=keepassxc --minimized\n";
    writeFile(system + "/blueman.desktop", packaged);
    writeUserEntry("org.keepassxc.KeePassXC.desktop", own);
    startService("GNOME");
    read();
    const QMap<QString, QString> listed = reported("KeelhouseDidFindUnknownItem");
    ASSERT_EQ(listed.keys(), QStringList({ "Blueman Applet", "KeePassXC" }));
    read(listed.values());

    QVariantList records;
    for (const QString& path : listed)
        records.append(QVariantMap { { "path", path }, { "disabled", true } });
    create(records);
    EXPECT_FALSE(client->server.calls.join('\n').contains("Fail")) << client->server.calls.join('\n').toStdString();
    EXPECT_EQ(contentsOf(user + "/org.keepassxc.KeePassXC.desktop"), own + "X-GNOME-Autostart-enabled=false\nHidden=true\n");
    EXPECT_EQ(contentsOf(user + "/blueman.desktop"), packaged + "X-GNOME-Autostart-enabled=false\nHidden=true\n");
    read();
    EXPECT_TRUE(reported("KeelhouseDidFindUnknownItem").isEmpty());
}

// Paths no entry can be made for are refused with the reason, and nothing is
// written.
TEST_F(TakenOverEntriesTest, PathsNoEntryCanHoldAreRefusedWithTheirReason)
{
    startService("GNOME");
    const QVariantList records = { QVariantMap { { "path", QByteArray("/tmp/a\0b", 8) } },
                                   QVariantMap { { "path", "/tmp/" + QString(600 * 1024, QLatin1Char('a')) } },
                                   QVariantMap { { "path", "-e" } }, QVariantMap { { "path", "/tmp/line\nbreak" } } };
    create(records);
    QStringList reasons;
    for (qsizetype i = 0; i < client->server.calls.size(); ++i) {
        if (client->server.calls[i].startsWith("KeelhouseDidFailCreatingItem "))
            reasons.append(client->server.items[itemIndex(i)].value("reason").toString());
    }
    EXPECT_EQ(reasons, QStringList({ "The path holds the control character U+0000",
                                     "The entry would be larger than 1048576 bytes, more than can be read back",
                                     "The path is not absolute", "The path holds the control character U+000A" }));
    EXPECT_TRUE(QDir(user).entryList(QDir::Files | QDir::Hidden | QDir::System).isEmpty());
    // The service goes on serving.
    read();
    EXPECT_TRUE(reported("KeelhouseDidFindUnknownItem").isEmpty());
}

} // namespace
