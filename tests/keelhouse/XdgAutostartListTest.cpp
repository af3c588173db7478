// The autostart folders on temporary folders: shadowing, hiding, desktops,
// and entries written from hostile names and paths.
#include "support/TestHome.h"

#include "keelhouse/XdgAutostartList.h"
#include "platform/CanonicalPath.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
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
        for (const QString& folder : { user, system, vendor })
            QDir().mkpath(folder);
    }

    XdgAutostartList list(const QStringList& desktops = { "GNOME" }) const { return XdgAutostartList(user, { system, vendor }, desktops); }

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

    QString root, user, system, vendor;
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

TEST_F(XdgAutostartListTest, EntryResolvesToItsProgramOrReportsWhyNot)
{
    const QString program = makeProgram("tool");
    write(user + "/tool.desktop", "Name=Tool\nExec=" + program.toUtf8() + " --flag %U\n");
    write(user + "/missing.desktop", "Name=Missing\nExec=/no/such/program\n");
    write(user + "/broken.desktop", "Name=Broken\nExec='unterminated\n");
    const QList<LoginItemEntry> entries = list().entries();
    ASSERT_EQ(entries.size(), 3);
    EXPECT_EQ(entries[0].name, "Broken");
    EXPECT_EQ(entries[0].errorCode, EINVAL);
    EXPECT_EQ(entries[1].errorCode, ENOENT);
    EXPECT_TRUE(entries[1].path.isEmpty());
    EXPECT_EQ(entries[2].path, canonicalPath(program));
    EXPECT_EQ(entries[2].ref, user + "/tool.desktop");
}

TEST_F(XdgAutostartListTest, HostileNamesAndPathsRoundTripWithoutInjectingAnything)
{
    const QString hostile = "it's \"odd\" $HOME `id` 100% ; a=b [x]\nExec=evil\n[Desktop Entry]";
    QDir().mkpath(root + "/dir with \"quotes\" $x `y` 5%");
    const QString program = makeProgram("dir with \"quotes\" $x `y` 5%/tool 'one'\nHidden=true;=");
    XdgAutostartList autostart = list();

    ASSERT_EQ(autostart.insert(hostile, program, true), 0);
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
    // Field codes are expanded before the line is split, as launchers do.
    const QByteArray expanded = QByteArray(exec).replace("%%", "%");
    g_free(exec);
    gchar** argv = nullptr;
    ASSERT_TRUE(g_shell_parse_argv(expanded.constData(), nullptr, &argv, nullptr));
    EXPECT_EQ(g_strv_length(argv), 1u);
    EXPECT_EQ(QString::fromUtf8(argv[0]), program);
    g_strfreev(argv);
    g_key_file_free(file);

    const QString fileName = QFileInfo(entries[0].ref).fileName();
    EXPECT_TRUE(QRegularExpression("^[a-z0-9-]+\\.desktop$").match(fileName).hasMatch()) << fileName.toStdString();
}

TEST_F(XdgAutostartListTest, DocumentsOpenThroughTheirDefaultHandler)
{
    EXPECT_EQ(XdgAutostartList::execLineForPath(root + "/notes 100%.txt"), "xdg-open '" + root + "/notes 100%%.txt'");
}

TEST_F(XdgAutostartListTest, NewEntriesNeverReplaceOrShadowExistingFiles)
{
    const QString program = makeProgram("tool");
    write(system + "/tool.desktop", "Name=System tool\nExec=sh\n");
    write(user + "/tool-2.desktop", "Name=Mine\nExec=sh\n");
    XdgAutostartList autostart = list();
    ASSERT_EQ(autostart.insert("Tool", program, false), 0);
    EXPECT_TRUE(QFileInfo::exists(user + "/tool-3.desktop"));
    EXPECT_EQ(names(autostart.entries()), QStringList({ "Mine", "Tool", "System tool" }));
    EXPECT_EQ(XdgAutostartList::safeBaseName("../../Évil Name!!"), "vil-name");
    EXPECT_EQ(XdgAutostartList::safeBaseName("***"), "item");
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
