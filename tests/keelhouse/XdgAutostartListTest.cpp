// The autostart folders on temporary folders: shadowing, hiding, desktops,
// and entries written from hostile names and paths.
#include "support/TestHome.h"

#include "platform/linux/DesktopEntryFile.h"
#include "keelhouse/XdgAutostartList.h"
#include "platform/CanonicalPath.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include "platform/linux/GioPtr.h"

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>
#include <gtest/gtest.h>

namespace {

class XdgAutostartListTest : public testing::Test {
protected:
    void SetUp() override
    {
        root = freshTestFolder("xdg");
        user = root + "/user/autostart";
        system = root + "/system/autostart";
        vendor = root + "/vendor/autostart";
        kept = root + "/data/Lanternwick/AutostartEntries";
        for (const QString& folder : { user, system, vendor })
            QDir().mkpath(folder);
    }

    XdgAutostartList list(const QStringList& desktops = { "GNOME" }) const { return XdgAutostartList(user, { system, vendor }, desktops, kept); }

    static void write(const QString& file, const QByteArray& body)
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Desktop Entry]\nType=Application\n" + body);
    }

    QString makeProgram(const QString& name) const
    {
        const QString path = root + "/" + name;
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\n");
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }

    static QStringList names(const QList<LoginItemEntry>& entries)
    {
        QStringList result;
        for (const LoginItemEntry& entry : entries)
            result.append(entry.name);
        return result;
    }

    QString root, user, system, vendor, kept;
};

TEST_F(XdgAutostartListTest, UserEntriesShadowSystemEntriesAndHiddenOrOtherDesktopsAreLeftOut)
{
    write(vendor + "/a.desktop", "Name=Vendor A\nExec=sh\n");
    write(system + "/a.desktop", "Name=System A\nExec=sh\n");
    write(user + "/a.desktop", "Name=User A\nExec=sh\n");
    write(system + "/b.desktop", "Name=B\nExec=sh\n");
    write(user + "/b.desktop", "Hidden=true\n");
    write(system + "/c.desktop", "Name=KDE only\nExec=sh\nOnlyShowIn=KDE;\n");
    write(system + "/d.desktop", "Name=Not GNOME\nExec=sh\nNotShowIn=GNOME;\n");
    write(vendor + "/e.desktop", "Name=GNOME only\nExec=sh\nOnlyShowIn=KDE;GNOME;\n");

    EXPECT_EQ(names(list().entries()), QStringList({ "User A", "GNOME only" }));
    EXPECT_EQ(names(list({ "KDE" }).entries()), QStringList({ "User A", "KDE only", "Not GNOME", "GNOME only" }));
}

// Each key alone keeps an entry the session starts as an application of the
// user out of the list; a user's own entry counts whatever its NoDisplay.
TEST_F(XdgAutostartListTest, OnlyEntriesTheSessionStartsAsTheUsersApplicationsAreListed)
{
    makeProgram("tool");
    const QByteArray exec = "Exec=" + QFile::encodeName(root) + "/tool\n";
    const QList<QByteArray> excluding = { "Type=Link\n", "X-GNOME-Autostart-enabled=false\n", "X-GNOME-Autostart-Phase=Applications\n",
                                          "X-systemd-skip=true\n", "X-GNOME-HiddenUnderSystemd=true\n", "X-KDE-autostart-phase=0\n",
                                          "X-KDE-autostart-phase=1\n", "AutostartCondition=unless-exists done\n",
                                          "X-KDE-autostart-condition=app:General:AutoStart:false\n",
                                          "X-MATE-Autostart-Condition=GSettings org.mate.x y\n", "TryExec=no-such-program\n" };
    for (qsizetype i = 0; i < excluding.size(); ++i)
        write(QStringLiteral("%1/excluded-%2.desktop").arg(user).arg(i), excluding[i] + "Name=Excluded " + excluding[i] + exec);
    write(system + "/invisible.desktop", "Name=Invisible\nNoDisplay=true\n" + exec);
    write(user + "/mine.desktop", "Name=Mine\nNoDisplay=true\nX-KDE-autostart-phase=2\nX-GNOME-Autostart-enabled=true\n" + exec);
    write(system + "/shown.desktop", "Name=Shown\n" + exec);
    EXPECT_EQ(names(list().entries()), QStringList({ "Mine", "Shown" }));
    // Nothing of theirs was written or copied.
    EXPECT_FALSE(QFileInfo::exists(kept + "/invisible.desktop"));
    EXPECT_FALSE(QFileInfo::exists(kept + "/excluded-0.desktop"));
}

TEST_F(XdgAutostartListTest, EntryResolvesToACopyOfItselfOrReportsWhyNot)
{
    const QString program = makeProgram("tool");
    write(user + "/tool.desktop", "Name=Tool\nComment=Does things\nIcon=tool\nExec=" + program.toUtf8() + " %U\n");
    write(user + "/missing.desktop", "Name=Missing\nExec=/no/such/program\n");
    write(user + "/broken.desktop", "Name=Broken\nExec='unterminated\n");
    write(user + "/absent.desktop", "Name=Absent\nTryExec=/no/such/program\nExec=" + program.toUtf8() + "\n");
    write(user + "/gone.desktop", "Name=Gone\nExec=xdg-open \"" + root.toUtf8() + "/gone.txt\"\nX-Lanternwick-Path=" + root.toUtf8() + "/gone.txt\n");
    // Not installed: the session does not start them, so they are not listed.
    const QList<LoginItemEntry> entries = list().entries();
    ASSERT_EQ(entries.size(), 3);
    EXPECT_EQ(entries[0].name, "Broken");
    EXPECT_EQ(entries[0].errorCode, EINVAL);
    EXPECT_EQ(entries[1].name, "Gone");
    EXPECT_EQ(entries[1].errorCode, ENOENT);
    EXPECT_TRUE(entries[1].path.isEmpty());
    // Even a program alone is our copy of the entry, which keeps its name,
    // description and icon; the program is known for items stored by it.
    EXPECT_EQ(entries[2].path, kept + "/tool.desktop");
    EXPECT_EQ(entries[2].program, program);
    EXPECT_TRUE(entries[2].runsProgramAlone);
    EXPECT_EQ(entries[2].ref, user + "/tool.desktop");
    EXPECT_EQ(DesktopEntryFile::load(entries[2].path)->keys(),
              QStringList({ "Type", "Name", "Comment", "Icon", "Exec", "X-Lanternwick-Origin", "X-Lanternwick-Mode", "X-Lanternwick-EntryBytes" }));
}

TEST_F(XdgAutostartListTest, CommandWithArgumentsResolvesToAKeptCopyThatRunsExactlyIt)
{
    const QString program = makeProgram("tool");
    const QByteArray exec = "\"" + program.toUtf8() + "\" --flag \"two words\" %U";
    write(user + "/org.example.Tool.desktop", "Name=Tool\nComment=Does things\nIcon=tool-icon\nX-GNOME-Autostart-Delay=5\nExec=" + exec + "\n");
    XdgAutostartList autostart = list();
    QList<LoginItemEntry> entries = autostart.entries();
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(entries[0].path, kept + "/org.example.Tool.desktop");
    EXPECT_EQ(entries[0].program, program);
    EXPECT_FALSE(entries[0].runsProgramAlone);

    std::optional<DesktopEntryFile> copy = DesktopEntryFile::load(entries[0].path);
    ASSERT_TRUE(copy);
    // The whole entry, bound to its file.
    EXPECT_EQ(copy->keys(), QStringList({ "Type", "Name", "Comment", "Icon", "X-GNOME-Autostart-Delay", "Exec", "X-Lanternwick-Origin", "X-Lanternwick-Mode", "X-Lanternwick-EntryBytes" }));
    EXPECT_EQ(copy->string("Exec"), exec);
    EXPECT_EQ(copy->string("X-Lanternwick-Origin"), user + "/org.example.Tool.desktop");
    EXPECT_EQ(copy->string("Name"), "Tool");
    // Owner-only: what the user runs at login is nobody else's business.
    const QFile::Permissions groupAndOthers(0x0077);
    EXPECT_EQ(QFileInfo(entries[0].path).permissions() & groupAndOthers, QFile::Permissions());
    EXPECT_EQ(QFileInfo(kept).permissions() & groupAndOthers, QFile::Permissions());

    // Never rewritten: the entry changed is another entry, with a copy of its own.
    const QByteArray firstCopy = DesktopEntryFile::load(entries[0].path)->data();
    write(user + "/org.example.Tool.desktop", "Name=Tool 2\nExec=" + exec + " --more\n");
    entries = autostart.entries();
    EXPECT_EQ(entries[0].path, kept + "/org.example.Tool-2.desktop");
    EXPECT_EQ(DesktopEntryFile::load(entries[0].path)->string("Exec"), exec + " --more");
    EXPECT_EQ(DesktopEntryFile::load(kept + "/org.example.Tool.desktop")->data(), firstCopy);
    EXPECT_EQ(list().entries()[0].path, entries[0].path);
    QFile::remove(user + "/org.example.Tool.desktop");
    ASSERT_EQ(autostart.insert("Other name", entries[0].path, false, false), 0);
    entries = autostart.entries();
    ASSERT_EQ(entries.size(), 1);
    // Handed back as it was, in its own file.
    EXPECT_EQ(entries[0].ref, user + "/org.example.Tool.desktop");
    EXPECT_EQ(entries[0].path, kept + "/org.example.Tool-2.desktop");
    EXPECT_EQ(entries[0].name, "Tool 2");
}

TEST_F(XdgAutostartListTest, EntryWhoseCopyCannotBeWrittenIsAFailureNotAProgram)
{
    const QString program = makeProgram("tool");
    write(user + "/tool.desktop", "Name=Tool\nExec=" + program.toUtf8() + " --background\n");
    QDir().mkpath(QFileInfo(kept).path());
    QFile blocker(kept);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    const QList<LoginItemEntry> entries = list().entries();
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(entries[0].errorCode, EIO);
    EXPECT_TRUE(entries[0].path.isEmpty());
}

TEST_F(XdgAutostartListTest, HostileEntriesGetSeparateCopiesWithoutInjectedKeys)
{
    const QString program = makeProgram("tool");
    // GKeyFile's escapes: a line break in a value reads as a real one.
    const QByteArray hostileName = "Same\\nExec=evil\\n[Desktop Entry] $x `id` 100%";
    const QByteArray hostileExec = "\"" + program.toUtf8() + "\" \"$HOME `id` \\\\ 100%%\" ';\\nHidden=true'";
    write(user + "/it's \"odd\" $x.desktop", "Name=" + hostileName + "\nExec=" + hostileExec + "\n");
    write(user + "/same.desktop", "Name=" + hostileName + "\nExec=" + program.toUtf8() + " --other\n");
    const QList<LoginItemEntry> entries = list().entries();
    ASSERT_EQ(entries.size(), 2);
    ASSERT_NE(entries[0].path, entries[1].path);
    for (const LoginItemEntry& entry : entries) {
        const QString fileName = QFileInfo(entry.path).fileName();
        EXPECT_TRUE(QRegularExpression("^[A-Za-z0-9_-][A-Za-z0-9._-]*\\.desktop$").match(fileName).hasMatch()) << fileName.toStdString();
        const std::optional<DesktopEntryFile> copy = DesktopEntryFile::load(entry.path);
        ASSERT_TRUE(copy);
        EXPECT_EQ(copy->keys(), QStringList({ "Type", "Name", "Exec", "X-Lanternwick-Origin", "X-Lanternwick-Mode", "X-Lanternwick-EntryBytes" }));
        EXPECT_EQ(copy->string("Name"), entry.name);
        EXPECT_FALSE(copy->boolean("Hidden"));
    }
    const std::optional<DesktopEntryFile> copy = DesktopEntryFile::load(entries[0].path);
    EXPECT_EQ(copy->string("Exec").toUtf8(), QByteArray(hostileExec).replace("\\\\", "\\").replace("\\n", "\n"));
    EXPECT_EQ(entries[0].name, "Same\nExec=evil\n[Desktop Entry] $x `id` 100%");

    // Copy names: one per entry file name, never a hidden file, never too long.
    const KeptDesktopEntries copies(kept);
    EXPECT_EQ(copies.pathForEntryFile(".x.desktop"), kept + "/_2Ex.desktop");
    EXPECT_NE(copies.pathForEntryFile("a b.desktop"), copies.pathForEntryFile("a_20b.desktop"));
    EXPECT_TRUE(QFileInfo(copies.pathForEntryFile(QString(200, QChar(0x00E9)) + ".desktop")).fileName().startsWith("_h"));
}

TEST_F(XdgAutostartListTest, HostileNamesAndPathsRoundTripWithoutInjectingAnything)
{
    const QString hostile = "it's \"odd\" $HOME `id` 100% ; a=b [x]\nExec=evil\n[Desktop Entry]";
    QDir().mkpath(root + "/dir with \"quotes\" $x `y` 5%");
    const QString program = makeProgram("dir with \"quotes\" $x `y` 5%/tool 'one'\n[Desktop Entry]\nHidden");
    XdgAutostartList autostart = list();

    ASSERT_EQ(autostart.insert(hostile, program, true, false), 0);
    const QList<LoginItemEntry> entries = autostart.entries();
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(entries[0].name, hostile);
    EXPECT_EQ(entries[0].path, program);
    EXPECT_TRUE(entries[0].hidden);

    // The file holds exactly our keys, and the Exec line runs exactly the program.
    GKeyFile* file = g_key_file_new();
    ASSERT_TRUE(g_key_file_load_from_file(file, QFile::encodeName(entries[0].ref).constData(), G_KEY_FILE_NONE, nullptr));
    gsize groups = 0;
    g_strfreev(g_key_file_get_groups(file, &groups));
    EXPECT_EQ(groups, 1u);
    gchar** keys = g_key_file_get_keys(file, "Desktop Entry", nullptr, nullptr);
    QStringList keyNames;
    for (gchar** key = keys; *key; ++key)
        keyNames.append(QString::fromUtf8(*key));
    g_strfreev(keys);
    EXPECT_EQ(keyNames, QStringList({ "Type", "Name", "Exec", "X-Lanternwick-Path", "X-Lanternwick-Hidden" }));
    EXPECT_FALSE(g_key_file_has_key(file, "Desktop Entry", "Hidden", nullptr));

    gchar* exec = g_key_file_get_string(file, "Desktop Entry", "Exec", nullptr);
    // Double quotes, as every desktop's launcher reads them alike; through
    // env, since GIO looks the first word up before it expands "%%".
    EXPECT_TRUE(QByteArray(exec).startsWith("env \""));
    // Field codes are expanded before the line is split, as launchers do.
    const QByteArray expanded = QByteArray(exec).replace("%%", "%");
    g_free(exec);
    gchar** argv = nullptr;
    ASSERT_TRUE(g_shell_parse_argv(expanded.constData(), nullptr, &argv, nullptr));
    EXPECT_EQ(g_strv_length(argv), 2u);
    EXPECT_EQ(QString::fromUtf8(argv[1]), program);
    g_strfreev(argv);
    g_key_file_free(file);

    // GIO, which the launchers use, loads the entry with its '%' as it is.
    const std::optional<DesktopEntryFile> written = DesktopEntryFile::load(entries[0].ref);
    ASSERT_TRUE(written);
    EXPECT_TRUE(written->commandLine());
    const GioPtr<GDesktopAppInfo> launcher(g_desktop_app_info_new_from_filename(QFile::encodeName(entries[0].ref).constData()));
    EXPECT_TRUE(launcher);

    // env would take "a=b" for a variable: such a program is refused.
    EXPECT_EQ(autostart.insert("Other", makeProgram("100% a=b"), false, false), EINVAL);

    const QString fileName = QFileInfo(entries[0].ref).fileName();
    EXPECT_TRUE(QRegularExpression("^[a-z0-9-]+\\.desktop$").match(fileName).hasMatch()) << fileName.toStdString();
}

TEST_F(XdgAutostartListTest, DocumentsOpenThroughTheirDefaultHandler)
{
    EXPECT_EQ(XdgAutostartList::execLineForPath(root + "/notes \"100%\" $x `y` \\z.txt"),
              "xdg-open \"" + root + "/notes \\\"100%%\\\" \\$x \\`y\\` \\\\z.txt\"");
}

TEST_F(XdgAutostartListTest, NewEntriesNeverReplaceOrShadowExistingFiles)
{
    const QString program = makeProgram("tool");
    write(system + "/tool.desktop", "Name=System tool\nExec=sh\n");
    write(user + "/tool-2.desktop", "Name=Mine\nExec=sh\n");
    XdgAutostartList autostart = list();
    ASSERT_EQ(autostart.insert("Tool", program, false, false), 0);
    EXPECT_TRUE(QFileInfo::exists(user + "/tool-3.desktop"));
    EXPECT_EQ(names(autostart.entries()), QStringList({ "Mine", "Tool", "System tool" }));
    EXPECT_EQ(XdgAutostartList::safeBaseName("../../Évil Name!!"), "vil-name");
    EXPECT_EQ(XdgAutostartList::safeBaseName("***"), "item");
}

TEST_F(XdgAutostartListTest, HandingASystemEntryBackLiftsOurOverrideInsteadOfWritingASecondEntry)
{
    const QString program = makeProgram("tool");
    write(system + "/tool.desktop", "Name=Tool\nExec=" + QFile::encodeName(program) + "\n");
    XdgAutostartList autostart = list();
    const QList<LoginItemEntry> entries = autostart.entries();
    ASSERT_EQ(entries.size(), 1);
    ASSERT_EQ(autostart.remove(entries[0].ref), 0);
    EXPECT_TRUE(autostart.entries().isEmpty());
    ASSERT_EQ(autostart.insert("Tool", entries[0].path, false, false), 0);
    EXPECT_TRUE(QDir(user).entryList(QDir::Files).isEmpty());
    // Also for an item stored by its bare program.
    ASSERT_EQ(autostart.remove(entries[0].ref), 0);
    ASSERT_EQ(autostart.insert("Tool", program, false, false), 0);
    EXPECT_TRUE(QDir(user).entryList(QDir::Files).isEmpty());
    EXPECT_EQ(names(autostart.entries()), QStringList({ "Tool" }));
}

TEST_F(XdgAutostartListTest, RemovingDeletesUserFilesAndHidesSystemEntries)
{
    write(user + "/mine.desktop", "Name=Mine\nExec=sh\n");
    write(system + "/theirs.desktop", "Name=Theirs\nExec=sh\n");
    write(system + "/both.desktop", "Name=System both\nExec=sh\n");
    write(user + "/both.desktop", "Name=User both\nExec=sh\n");
    XdgAutostartList autostart = list();
    EXPECT_EQ(autostart.remove(user + "/mine.desktop"), 0);
    EXPECT_EQ(autostart.remove(system + "/theirs.desktop"), 0);
    EXPECT_EQ(autostart.remove(user + "/both.desktop"), 0);
    EXPECT_EQ(autostart.remove(root + "/elsewhere.desktop"), EINVAL);
    EXPECT_FALSE(QFileInfo::exists(user + "/mine.desktop"));
    EXPECT_TRUE(QFileInfo::exists(system + "/theirs.desktop"));
    EXPECT_TRUE(autostart.entries().isEmpty());
}

} // namespace
