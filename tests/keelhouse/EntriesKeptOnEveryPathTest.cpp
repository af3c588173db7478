// No entry of the user is lost on any path through the service on a test bus:
// entries removed because an item already starts their program, the user's
// own switched-off copies, links, entries carrying our old keys, ignored items
// when Lanternwick is switched off, and entries whose package went away.
#include "SessionListFixture.h"

#include "foundation/MHItemDataValues.h"

#include <unistd.h>

namespace {

using EntriesKeptOnEveryPathTest = SessionListTest;

// What the link at path names, as written in it; empty when it is no link.
QString linkTargetOf(const QString& path)
{
    char target[4096];
    const ssize_t length = ::readlink(QFile::encodeName(path).constData(), target, sizeof target);
    return length > 0 ? QFile::decodeName(QByteArray(target, length)) : QString();
}

// Reasons of the failed creations of the last request.
QStringList failureReasons(const TestClient& client)
{
    QStringList reasons;
    qsizetype index = -1;
    for (const QString& call : client.server.calls) {
        index += call.contains(' ') ? 1 : 0;
        if (call.startsWith("KeelhouseDidFailCreatingItem "))
            reasons.append(client.server.items[index].value("reason").toString());
    }
    return reasons;
}

// An imported program (or an item of an earlier version) already starts
// what two of the user's entries start: the read removes them from the
// session, and handing the item back gives both back as they were.
TEST_F(EntriesKeptOnEveryPathTest, EntriesOfAnImportedProgramAreKeptAndComeBackByteForByte)
{
    makeProgram(usr + "/bin/progx");
    const QByteArray a = "[Desktop Entry]\nType=Application\nName=Prog X\nName[de]=Programm X\nExec=progx\nX-GNOME-Autostart-Delay=7\n";
    const QByteArray b = "[Desktop Entry]\n# opens what it is given\nType=Application\nName=Prog X files\nComment=Mine\nExec=progx %U\n";
    writeUserEntry("a.desktop", a);
    ASSERT_EQ(::chmod(QFile::encodeName(user + "/a.desktop").constData(), 0600), 0);
    writeUserEntry("b.desktop", b);
    startService("GNOME");
    const Files before = autostartFiles();
    const QString program = usr + "/bin/progx";

    read({ program });
    EXPECT_EQ(reported("KeelhouseDidFindApplicationItem").keys(), QStringList({ "Prog X", "Prog X files" }));
    EXPECT_FALSE(client->server.calls.join('\n').contains("Fail")) << client->server.calls.join('\n').toStdString();
    EXPECT_TRUE(QDir(user).entryList(QDir::Files).isEmpty());

    // The application drops the copies no item names; these are the item's.
    KeptDesktopEntries(KeptDesktopEntries::defaultFolder()).removeCopiesExcept({ program });
    create({ QVariantMap { { "path", program }, { "name", "progx" } } });
    EXPECT_FALSE(client->server.calls.join('\n').contains("Fail")) << client->server.calls.join('\n').toStdString();
    EXPECT_EQ(autostartFiles(), before);
    EXPECT_EQ(modeOf(user + "/a.desktop"), 0600);

    // With no copy for it, the item is handed back as an entry of its own.
    KeptDesktopEntries(KeptDesktopEntries::defaultFolder()).removeCopiesExcept({});
    makeProgram(usr + "/bin/progy");
    create({ QVariantMap { { "path", usr + "/bin/progy" }, { "name", "progy" } } });
    EXPECT_TRUE(QFileInfo::exists(user + "/progy.desktop"));
}

// Xfce's and LXDE's settings switch a system entry off with a full copy of
// it holding Hidden=true, users by hand with a file of their own: only the
// override Lanternwick wrote (also unmarked, as earlier versions wrote it) is lifted.
TEST_F(EntriesKeptOnEveryPathTest, AUsersSwitchedOffCopyIsUntouchedByAHandBack)
{
    for (const char* program : { "progx", "tool", "progz", "progw" })
        makeProgram(usr + "/bin/" + program);
    writeFile(system + "/progx.desktop", "[Desktop Entry]\nType=Application\nName=Prog X\nExec=progx\n");
    const QByteArray switchedOff = "[Desktop Entry]\nType=Application\nName=Prog X\nExec=progx\nX-GNOME-Autostart-Delay=4\nHidden=true\n";
    writeUserEntry("progx.desktop", switchedOff);
    ASSERT_EQ(::chmod(QFile::encodeName(user + "/progx.desktop").constData(), 0600), 0);
    writeFile(system + "/progz.desktop", "[Desktop Entry]\nType=Application\nName=Prog Z\nExec=progz\n");
    const QByteArray byHand = "[Desktop Entry]\nHidden=true\n";
    writeUserEntry("progz.desktop", byHand);
    writeFile(system + "/progw.desktop", "[Desktop Entry]\nType=Application\nName=Prog W\nExec=progw\n");
    writeUserEntry("progw.desktop", "[Desktop Entry]\nType=Application\nHidden=true\n");
    const QByteArray packaged = "[Desktop Entry]\nType=Application\nName=Tool\nExec=tool\n";
    writeFile(system + "/tool.desktop", packaged);
    startService("XFCE");

    read();
    const QString tool = reported("KeelhouseDidFindUnknownItem").value("Tool");
    ASSERT_EQ(reported("KeelhouseDidFindUnknownItem").keys(), QStringList { "Tool" });
    read({ tool, usr + "/bin/progx" });
    EXPECT_TRUE(QFileInfo::exists(user + "/tool.desktop"));

    create({ QVariantMap { { "path", usr + "/bin/progx" }, { "name", "Prog X" } }, QVariantMap { { "path", tool } },
             QVariantMap { { "path", usr + "/bin/progz" }, { "name", "Prog Z" } }, QVariantMap { { "path", usr + "/bin/progw" } } });
    EXPECT_FALSE(client->server.calls.join('\n').contains("Fail")) << client->server.calls.join('\n').toStdString();
    EXPECT_EQ(contentsOf(user + "/progx.desktop"), switchedOff);
    EXPECT_EQ(modeOf(user + "/progx.desktop"), 0600);
    EXPECT_EQ(contentsOf(user + "/progz.desktop"), byHand);
    // Our own overrides are lifted, and the programs the user imported start from entries of their own.
    EXPECT_FALSE(QFileInfo::exists(user + "/tool.desktop"));
    EXPECT_FALSE(QFileInfo::exists(user + "/progw.desktop"));
    read();
    EXPECT_EQ(reported("KeelhouseDidFindUnknownItem").keys(), QStringList({ "Prog W", "Prog X", "Prog Z", "Tool" }));
}

// A dotfile manager's link: back as the same link while its target holds the
// entry, else as the entry's bytes.
TEST_F(EntriesKeptOnEveryPathTest, ALinkedEntryComesBackAsTheSameLink)
{
    makeProgram(usr + "/bin/tool");
    const QString dotfiles = root + "/dotfiles";
    QDir().mkpath(dotfiles);
    const QByteArray entry = "[Desktop Entry]\nType=Application\nName=Tool\nName[fr]=Outil\nExec=tool --daemon\n";
    writeFile(dotfiles + "/tool.desktop", entry);
    const QString target = QDir(user).relativeFilePath(dotfiles + "/tool.desktop");
    ASSERT_EQ(::symlink(QFile::encodeName(target).constData(), QFile::encodeName(user + "/tool.desktop").constData()), 0);
    startService("GNOME");

    for (const bool targetChanged : { false, true }) {
        read();
        const QString kept = reported("KeelhouseDidFindUnknownItem").value("Tool");
        ASSERT_FALSE(kept.isEmpty());
        read({ kept });
        EXPECT_FALSE(QFileInfo(user + "/tool.desktop").isSymLink());
        EXPECT_FALSE(QFileInfo::exists(user + "/tool.desktop"));
        EXPECT_EQ(contentsOf(dotfiles + "/tool.desktop"), entry);
        if (targetChanged)
            writeFile(dotfiles + "/tool.desktop", entry + "X-Edited=true\n");

        create({ QVariantMap { { "path", kept } } });
        EXPECT_FALSE(client->server.calls.join('\n').contains("Fail")) << client->server.calls.join('\n').toStdString();
        EXPECT_EQ(linkTargetOf(user + "/tool.desktop"), targetChanged ? QString() : target);
        EXPECT_EQ(contentsOf(user + "/tool.desktop"), entry);
    }
}

// Earlier hand-backs wrote X-Lanternwick-Path; the user then edited the entry
// in the desktop's settings. Only an entry holding nothing else stands for
// the path it names.
TEST_F(EntriesKeptOnEveryPathTest, AnEntryWithOurPathKeyAndTheUsersKeysComesBackByteForByte)
{
    makeProgram(usr + "/bin/xdg-open");
    const QString notes = root + "/notes.txt";
    writeFile(notes, "to do\n");
    const QByteArray ours = "[Desktop Entry]\nType=Application\nName=notes.txt\nExec=xdg-open \"" + QFile::encodeName(notes)
        + "\"\nX-Lanternwick-Path=" + QFile::encodeName(notes) + "\n";
    const QByteArray edited = ours + "Name[de]=Notizen\nComment=My notes\nX-GNOME-Autostart-Delay=9\n";
    writeUserEntry("notes-txt.desktop", ours);
    writeUserEntry("my-notes.desktop", edited);
    ASSERT_EQ(::chmod(QFile::encodeName(user + "/my-notes.desktop").constData(), 0600), 0);
    startService("GNOME");
    const Files before = autostartFiles();

    read();
    QStringList paths;
    for (qsizetype i = 0; i < client->server.calls.size(); ++i) {
        if (client->server.calls[i].startsWith("KeelhouseDidFindUnknownItem "))
            paths.append(client->server.items[itemIndex(i)].value("path").toString());
    }
    ASSERT_EQ(paths.size(), 2);
    EXPECT_EQ(paths.count(notes), 1);
    const QString kept = paths.value(paths.indexOf(notes) == 0 ? 1 : 0);
    EXPECT_TRUE(kept.startsWith(KeptDesktopEntries::defaultFolder()));

    read({ kept });
    EXPECT_FALSE(QFileInfo::exists(user + "/my-notes.desktop"));
    EXPECT_TRUE(QFileInfo::exists(user + "/notes-txt.desktop"));
    create({ QVariantMap { { "path", kept } } });
    EXPECT_FALSE(client->server.calls.join('\n').contains("Fail")) << client->server.calls.join('\n').toStdString();
    EXPECT_EQ(autostartFiles(), before);
}

// Switching Lanternwick off hands the ignored items back switched off: the
// desktop lists them again and starts none. An ignored item still in the
// session stays as it is.
TEST_F(EntriesKeptOnEveryPathTest, SwitchingOffHandsIgnoredItemsBackSwitchedOff)
{
    makeProgram(usr + "/bin/mail");
    makeProgram(usr + "/bin/chat");
    const QByteArray mail = "[Desktop Entry]\nType=Application\nName=Mail\nExec=mail --background\n";
    const QByteArray chat = "[Desktop Entry]\nType=Application\nName=Chat\nExec=chat\n";
    writeUserEntry("mail.desktop", mail);
    writeUserEntry("chat.desktop", chat);
    startService("KDE");
    read();
    const QMap<QString, QString> listed = reported("KeelhouseDidFindUnknownItem");
    ASSERT_EQ(listed.keys(), QStringList({ "Chat", "Mail" }));
    read({ listed.value("Mail") });
    ASSERT_FALSE(QFileInfo::exists(user + "/mail.desktop"));

    QVariantList ignored;
    for (const QString& path : listed)
        ignored.append(QVariantMap { { MHItemDataKeys::type, MHItemDataValues::file }, { MHItemDataKeys::path, path } });
    client->server.calls.clear();
    client->client.uninstallLanternwickWithIgnoredItems(ignored, {});
    waitForCall("KeelhouseDidEndUninstalling");
    EXPECT_FALSE(client->server.calls.join('\n').contains("Fail")) << client->server.calls.join('\n').toStdString();
    EXPECT_EQ(contentsOf(user + "/mail.desktop"), mail + "X-GNOME-Autostart-enabled=false\nHidden=true\n");
    EXPECT_EQ(modeOf(user + "/mail.desktop"), 0644);
    EXPECT_EQ(contentsOf(user + "/chat.desktop"), chat);
}

// A package removed while its entry was taken over: the entry comes back as
// the user's own while its program is there; else the hand-back fails, saying why.
TEST_F(EntriesKeptOnEveryPathTest, AnEntryWhosePackageIsGoneComesBackAsTheKeptCopy)
{
    const QByteArray packaged = contentsOf(QStringLiteral(LW_AUTOSTART_FIXTURES) + "/system/blueman.desktop");
    startService("GNOME");
    for (const bool programGone : { false, true }) {
        makeProgram(usr + "/bin/blueman-applet");
        writeFile(system + "/blueman.desktop", packaged);
        read();
        const QString kept = reported("KeelhouseDidFindUnknownItem").value("Blueman Applet");
        ASSERT_FALSE(kept.isEmpty());
        read({ kept });
        // The override that hides the package's entry is marked as ours.
        EXPECT_TRUE(DesktopEntryFile::load(user + "/blueman.desktop")->boolean("X-Lanternwick-Override"));

        QFile::remove(system + "/blueman.desktop");
        if (programGone)
            QFile::remove(usr + "/bin/blueman-applet");
        create({ QVariantMap { { "path", kept } } });
        if (programGone) {
            EXPECT_EQ(failureReasons(*client),
                      QStringList { "The entry " + system + "/blueman.desktop and the program it starts are no longer installed" });
            EXPECT_FALSE(QFileInfo::exists(user + "/blueman.desktop"));
        } else {
            EXPECT_FALSE(client->server.calls.join('\n').contains("Fail")) << client->server.calls.join('\n').toStdString();
            EXPECT_EQ(contentsOf(user + "/blueman.desktop"), packaged);
            QFile::remove(user + "/blueman.desktop");
        }
    }
}

// Any entry the session reads can be taken over, however large; a kept copy
// that cannot give its entry back is refused with the true reason.
TEST_F(EntriesKeptOnEveryPathTest, LargeEntriesAreTakenOverAndBrokenCopiesRefusedWithTheirReason)
{
    makeProgram(usr + "/bin/tool");
    const QByteArray large = "[Desktop Entry]\nType=Application\nName=Tool\nExec=tool\nComment=" + QByteArray(900 * 1024, 'c') + "\n";
    writeUserEntry("tool.desktop", large);
    startService("GNOME");
    read();
    EXPECT_TRUE(reported("KeelhouseDidFailReadingItem").isEmpty());
    const QString kept = reported("KeelhouseDidFindUnknownItem").value("Tool");
    ASSERT_FALSE(kept.isEmpty());
    read({ kept });
    create({ QVariantMap { { "path", kept } } });
    EXPECT_FALSE(client->server.calls.join('\n').contains("Fail")) << client->server.calls.join('\n').toStdString();
    EXPECT_EQ(contentsOf(user + "/tool.desktop"), large);

    read({ kept });
    std::optional<DesktopEntryFile> copy = DesktopEntryFile::load(kept, nullptr, DesktopEntryFile::maxOwnFileSize);
    ASSERT_TRUE(copy);
    copy->setString("X-Lanternwick-EntryBytes", "not*base64");
    ASSERT_EQ(DesktopEntryFile::writeFile(kept, copy->data(), 0600, true), 0);
    create({ QVariantMap { { "path", kept } } });
    EXPECT_EQ(failureReasons(*client), QStringList { "The kept entry " + kept + " holds bytes that are not valid Base64" });
    EXPECT_FALSE(QFileInfo::exists(user + "/tool.desktop"));
}

} // namespace
