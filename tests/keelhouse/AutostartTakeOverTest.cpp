// Taking session entries over and handing them back, with the service program
// activated on a test bus: whatever an entry's command is, the item that
// stands for it and the entry handed back run exactly that command. The
// programs the entries name are copies of a helper that records how it ran.
#include "PrivateBus.h"
#include "TestClient.h"
#include "support/TestHome.h"

#include "foundation/MHItemDataKeys.h"
#include "platform/linux/DesktopEntryFile.h"
#include "keelhouse/KeelhouseBus.h"
#include "keelhouse/KeelhouseServiceFile.h"
#include "keelhouse/KeptDesktopEntries.h"
#include "platform/linux/LinuxWorkspace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

struct RecordedRun {
    QStringList arguments;
    QStringList environment;
    QString recordPath;

    QString variable(const QString& name) const
    {
        for (const QString& entry : environment) {
            if (entry.startsWith(name + QLatin1Char('=')))
                return entry.mid(name.size() + 1);
        }
        return {};
    }
};

struct Case {
    QString fileName;
    QString name;
    QString exec;
    // What the program started reports, and one variable of its environment.
    QStringList expectedArguments;
    QString expectedFoo;
};

class AutostartTakeOverTest : public testing::Test {
protected:
    void SetUp() override
    {
        root = freshTestFolder("takeover");
        records = root + "/records";
        bin = root + "/bin dir";
        QDir().mkpath(records);
        QDir().mkpath(bin);
        // Copies, not links: each must be a program of its own among the running ones.
        for (const char* name : { "flatpak", "sh", "prog", "plain tool" }) {
            ASSERT_TRUE(QFile::copy(QStringLiteral(LW_TEST_RECORDER), bin + "/" + QLatin1String(name)));
            QFile::setPermissions(bin + "/" + QLatin1String(name), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        savedPath = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin) + ":" + savedPath);
        qputenv("LW_TEST_RECORD_FOLDER", QFile::encodeName(records));

        autostart = qEnvironmentVariable("XDG_CONFIG_HOME") + "/autostart";
        QDir(autostart).removeRecursively();
        QDir().mkpath(autostart);
        QDir(KeptDesktopEntries::defaultFolder()).removeRecursively();

        // The bus hands this environment, with the programs above, to the service.
        bus = std::make_unique<PrivateBus>(root + "/bus");
        ASSERT_TRUE(bus->isRunning());
        ASSERT_TRUE(bus->installService(KeelhouseBus::serviceName(), *KeelhouseServiceFile::contentsFor(KEELHOUSE_PROGRAM)));
        client.emplace(bus->address(), "application");
        lanternwick = root + "/lanternwick";
        QFile program(lanternwick);
        ASSERT_TRUE(program.open(QIODevice::WriteOnly));
        program.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    void TearDown() override
    {
        client.reset();
        bus.reset();
        qputenv("PATH", savedPath);
        qunsetenv("LW_TEST_RECORD_FOLDER");
    }

    void writeEntry(const Case& entry) const
    {
        DesktopEntryFile file;
        file.setString("Name", entry.name);
        file.setString("Comment", "About " + entry.name);
        file.setString("Icon", "icon-of-" + entry.fileName);
        file.setString("Exec", entry.exec);
        QFile out(autostart + "/" + entry.fileName);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(file.data());
    }

    // Sends a read with these application items and waits for its end.
    void read(const QStringList& applicationPaths)
    {
        client->server.calls.clear();
        client->server.items.clear();
        QVariantList items;
        for (const QString& path : applicationPaths)
            items.append(QVariantMap { { MHItemDataKeys::type, "file" }, { MHItemDataKeys::path, path } });
        client->client.readSystemItemsWithIgnoredItems({}, items, lanternwick);
        ASSERT_TRUE(waitFor([&] { return client->server.calls.contains("KeelhouseDidEndReading"); }, 30000)) << client->server.calls.join('\n').toStdString();
    }

    // The path the last read reported for the entry of that name.
    QString reportedPath(const QString& name) const
    {
        for (const QVariantMap& item : client->server.items) {
            if (item.value("name") == name)
                return item.value("path").toString();
        }
        return {};
    }

    // Opens the path as a login item is opened and waits for the helper to
    // report; the helper keeps running until released.
    RecordedRun openAndRecord(const QString& path)
    {
        const Workspace::LaunchResult result = workspace.openItemAtPath(path, {});
        EXPECT_TRUE(result.succeeded) << result.errorDescription.toStdString();
        RecordedRun run;
        waitFor([&] { return !QDir(records).entryList({ "*.run" }).isEmpty(); }, 30000);
        const QStringList found = QDir(records).entryList({ "*.run" });
        if (found.size() != 1) {
            ADD_FAILURE() << "runs recorded for " << path.toStdString() << ": " << found.size();
            return run;
        }
        run.recordPath = records + "/" + found.first();
        QFile file(run.recordPath);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        QList<QByteArray> fields = file.readAll().split('\0');
        fields.removeLast();
        const int count = fields.value(0).toInt();
        for (int i = 1; i < fields.size(); ++i)
            (i <= count ? run.arguments : run.environment).append(QString::fromUtf8(fields[i]));
        return run;
    }

    static void release(const RecordedRun& run) { QFile::remove(run.recordPath); }

    // The user entries whose Name is name.
    QStringList entriesNamed(const QString& name) const
    {
        QStringList files;
        for (const QString& fileName : QDir(autostart).entryList({ "*.desktop" })) {
            const std::optional<DesktopEntryFile> file = DesktopEntryFile::load(autostart + "/" + fileName);
            if (file && file->string("Name") == name)
                files.append(autostart + "/" + fileName);
        }
        return files;
    }

    QString root, records, bin, autostart, lanternwick;
    QByteArray savedPath;
    std::unique_ptr<PrivateBus> bus;
    std::optional<TestClient> client;
    LinuxWorkspace workspace;
};

TEST_F(AutostartTakeOverTest, ItemsAndHandedBackEntriesRunExactlyTheEntrysCommand)
{
    const QString plain = bin + "/plain tool";
    const QList<Case> cases = {
        { "org.example.App.desktop", "Example", "flatpak run --branch=stable --command=signal-desktop org.example.App",
          { "flatpak", "run", "--branch=stable", "--command=signal-desktop", "org.example.App" }, {} },
        { "shell echo.desktop", "Shell", "sh -c \"echo a; echo b\"", { "sh", "-c", "echo a; echo b" }, {} },
        { "env.desktop", "Env", "env FOO=1 prog --flag \"two words\"", { "prog", "--flag", "two words" }, "1" },
        { "minimized.desktop", "Minimized", "prog %U --minimized", { "prog", "--minimized" }, {} },
        { "plain.desktop", "Plain", DesktopEntryFile::quotedArgument(plain), { plain }, {} },
    };
    for (const Case& entry : cases)
        writeEntry(entry);
    writeEntry({ "true.desktop", "True", "/usr/bin/true", {}, {} });

    // How the session itself runs each entry.
    QList<RecordedRun> sessionRuns;
    for (const Case& entry : cases) {
        const RecordedRun run = openAndRecord(autostart + "/" + entry.fileName);
        release(run);
        EXPECT_EQ(run.arguments, entry.expectedArguments) << entry.exec.toStdString();
        EXPECT_EQ(run.variable("FOO"), entry.expectedFoo);
        sessionRuns.append(run);
    }

    read({});
    QStringList paths;
    for (const Case& entry : cases) {
        const QString path = reportedPath(entry.name);
        paths.append(path);
        ASSERT_FALSE(path.isEmpty()) << entry.exec.toStdString();
        EXPECT_TRUE(client->server.calls.contains("KeelhouseDidFindUnknownItem " + path));
        // Also a program alone: the copy keeps the entry's name, description and icon.
        EXPECT_EQ(path, KeptDesktopEntries(KeptDesktopEntries::defaultFolder()).pathForEntryFile(entry.fileName));
    }
    const QString truePath = reportedPath("True");
    EXPECT_EQ(truePath, KeptDesktopEntries(KeptDesktopEntries::defaultFolder()).pathForEntryFile("true.desktop"));
    const std::optional<DesktopEntryFile> own = DesktopEntryFile::load(autostart + "/lanternwick.desktop");
    ASSERT_TRUE(own);
    EXPECT_EQ(own->string("Name"), "Lanternwick");
    EXPECT_EQ(own->string("Exec"), DesktopEntryFile::quotedArgument(lanternwick));

    // A stored item with the reported path runs what the session ran, and is
    // seen running until the program ends.
    for (qsizetype i = 0; i < cases.size(); ++i) {
        const RecordedRun run = openAndRecord(paths[i]);
        EXPECT_EQ(run.arguments, sessionRuns[i].arguments) << cases[i].exec.toStdString();
        EXPECT_EQ(run.variable("FOO"), cases[i].expectedFoo);
        EXPECT_TRUE(waitFor([&] { return workspace.applicationStateForItemAtPath(paths[i]) == Workspace::ApplicationState::FinishedLaunching; }))
            << cases[i].exec.toStdString();
        release(run);
    }
    ASSERT_TRUE(workspace.openItemAtPath(truePath, {}).succeeded);

    // The next read removes the session's entries once; the copies stay.
    read(paths + QStringList { truePath });
    for (qsizetype i = 0; i < cases.size(); ++i) {
        EXPECT_TRUE(client->server.calls.contains("KeelhouseDidFindApplicationItem " + paths[i]));
        EXPECT_FALSE(QFileInfo::exists(autostart + "/" + cases[i].fileName));
        EXPECT_TRUE(QFileInfo::exists(paths[i]));
    }
    EXPECT_FALSE(QFileInfo::exists(autostart + "/true.desktop"));
    read(paths);
    EXPECT_FALSE(client->server.calls.contains("KeelhouseDidFindApplicationItem " + paths.first()));
    EXPECT_EQ(QDir(autostart).entryList({ "*.desktop" }), QStringList { "lanternwick.desktop" });

    // Handed back, each entry runs the same command under its own name and icon.
    QVariantList applicationItems;
    for (const QString& path : paths + QStringList { truePath })
        applicationItems.append(QVariantMap { { MHItemDataKeys::type, "file" }, { MHItemDataKeys::path, path } });
    client->client.uninstallLanternwickWithIgnoredItems({}, applicationItems);
    ASSERT_TRUE(waitFor([&] { return client->server.calls.contains("KeelhouseDidEndUninstalling"); }, 30000));
    for (qsizetype i = 0; i < cases.size(); ++i) {
        const QStringList restored = entriesNamed(cases[i].name);
        ASSERT_EQ(restored.size(), 1) << cases[i].exec.toStdString();
        const std::optional<DesktopEntryFile> file = DesktopEntryFile::load(restored.first());
        EXPECT_EQ(file->string("Exec"), cases[i].exec);
        EXPECT_EQ(file->string("Comment"), "About " + cases[i].name);
        EXPECT_EQ(file->string("Icon"), "icon-of-" + cases[i].fileName);
        const RecordedRun run = openAndRecord(restored.first());
        EXPECT_EQ(run.arguments, sessionRuns[i].arguments) << cases[i].exec.toStdString();
        EXPECT_EQ(run.variable("FOO"), cases[i].expectedFoo);
        release(run);
    }
    const QStringList restoredTrue = entriesNamed("True");
    ASSERT_EQ(restoredTrue.size(), 1);
    EXPECT_EQ(DesktopEntryFile::commandArguments(DesktopEntryFile::load(restoredTrue.first())->string("Exec")), QStringList { "/usr/bin/true" });
    EXPECT_FALSE(QFileInfo::exists(autostart + "/lanternwick.desktop"));
}

} // namespace
