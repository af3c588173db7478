#pragma once
// The session's autostart folders on a temporary root, with the service
// program activated on a test bus: the entries Debian's desktop packages
// install (autostart/system) and those the desktops' settings write for the
// user (autostart/user), the programs they name under a temporary /usr.
#include "PrivateBus.h"
#include "TestClient.h"
#include "support/TestHome.h"

#include "foundation/MHItemDataKeys.h"
#include "platform/linux/DesktopEntryFile.h"
#include "keelhouse/KeelhouseBus.h"
#include "keelhouse/KeelhouseServiceFile.h"
#include "keelhouse/KeptDesktopEntries.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/stat.h>

using Files = QMap<QString, QByteArray>;

class SessionListTest : public testing::Test {
protected:
    void SetUp() override
    {
        root = freshTestFolder("session");
        usr = root + "/usr";
        system = root + "/xdg/autostart";
        user = qEnvironmentVariable("XDG_CONFIG_HOME") + "/autostart";
        QDir(user).removeRecursively();
        QDir(KeptDesktopEntries::defaultFolder()).removeRecursively();
        for (const QString& folder : { system, user, usr + "/bin", root + "/share" })
            QDir().mkpath(folder);
    }

    void TearDown() override
    {
        client.reset();
        bus.reset();
        qunsetenv("XDG_CURRENT_DESKTOP");
    }

    // The bus hands the session's folders and PATH to the service. The
    // desktop is the application's: the bus's activation environment names
    // another, which the service must not go by.
    void startService(const QString& desktop)
    {
        QProcessEnvironment extra;
        extra.insert("XDG_CONFIG_DIRS", root + "/xdg");
        extra.insert("XDG_DATA_DIRS", root + "/share");
        extra.insert("XDG_CURRENT_DESKTOP", "LXDE");
        extra.insert("PATH", usr + "/bin:" + qEnvironmentVariable("PATH"));
        bus = std::make_unique<PrivateBus>(root + "/bus", extra);
        ASSERT_TRUE(bus->isRunning());
        ASSERT_TRUE(bus->installService(KeelhouseBus::serviceName(), *KeelhouseServiceFile::contentsFor(KEELHOUSE_PROGRAM)));
        qputenv("XDG_CURRENT_DESKTOP", desktop.toUtf8());
        client.emplace(bus->address(), "application");
    }

    // The fixtures as installed: their /usr is the temporary one, and every
    // program they name is there except those in missing.
    void installFixtures(const QStringList& missing) const
    {
        for (const QString kind : { "system", "user" }) {
            const QString from = QStringLiteral(LW_AUTOSTART_FIXTURES) + "/" + kind;
            for (const QString& name : QDir(from).entryList({ "*.desktop" })) {
                QFile source(from + "/" + name);
                ASSERT_TRUE(source.open(QIODevice::ReadOnly));
                const QByteArray text = source.readAll().replace("=/usr/", "=" + QFile::encodeName(usr) + "/");
                const QString installed = (kind == QLatin1String("user") ? user : system) + "/" + name;
                writeFile(installed, text);
                const std::optional<DesktopEntryFile> entry = DesktopEntryFile::load(installed);
                ASSERT_TRUE(entry) << installed.toStdString();
                const std::optional<QStringList> command = DesktopEntryFile::commandArguments(entry->string("Exec"));
                for (const QString& program : { command ? command->first() : QString(), entry->string("TryExec") }) {
                    if (!program.isEmpty() && !missing.contains(program))
                        makeProgram(program.startsWith('/') ? program : usr + "/bin/" + program);
                }
            }
        }
    }

    static void makeProgram(const QString& path)
    {
        writeFile(path, "#!/bin/sh\n");
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // Every file of the autostart folders, by its place, with its mode.
    Files autostartFiles() const
    {
        Files files;
        for (const QString& folder : { system, user }) {
            for (const QString& name : QDir(folder).entryList(QDir::Files))
                files.insert(folder + "/" + name, contentsOf(folder + "/" + name) + "\nmode " + QByteArray::number(modeOf(folder + "/" + name), 8));
        }
        return files;
    }

    static int modeOf(const QString& path)
    {
        struct stat status {};
        return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? int(status.st_mode & 07777) : -1;
    }

    // A user entry as the desktops' settings write it.
    void writeUserEntry(const QString& fileName, const QByteArray& contents) const
    {
        writeFile(user + "/" + fileName, contents);
        ASSERT_EQ(::chmod(QFile::encodeName(user + "/" + fileName).constData(), 0644), 0);
    }

    // Sends the request and waits for its end.
    void create(const QVariantList& records)
    {
        client->server.calls.clear();
        client->server.items.clear();
        client->client.createSystemItemsWithItems(records);
        waitForCall("KeelhouseDidEndCreating");
    }

    static QByteArray contentsOf(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static QStringList changedFiles(const Files& before, const Files& after)
    {
        QStringList changed;
        for (const QString& path : before.keys() + after.keys()) {
            if (before.value(path) != after.value(path) && !changed.contains(path))
                changed.append(path);
        }
        changed.sort();
        return changed;
    }

    void waitForCall(const QString& call)
    {
        ASSERT_TRUE(waitFor([&] { return client->server.calls.contains(call); }, 30000)) << client->server.calls.join('\n').toStdString();
    }

    // A read with these application items, without the application's own entry.
    void read(const QStringList& applicationPaths = {})
    {
        client->server.calls.clear();
        client->server.items.clear();
        QVariantList items;
        for (const QString& path : applicationPaths)
            items.append(QVariantMap { { MHItemDataKeys::type, "file" }, { MHItemDataKeys::path, path } });
        client->client.readSystemItemsWithIgnoredItems({}, items, {});
        waitForCall("KeelhouseDidEndReading");
    }

    // Name -> path of the entries the last read reported with that callback.
    QMap<QString, QString> reported(const QString& callback) const
    {
        QMap<QString, QString> found;
        for (qsizetype i = 0; i < client->server.calls.size(); ++i) {
            if (client->server.calls[i].startsWith(callback + ' ')) {
                const QVariantMap& item = client->server.items[itemIndex(i)];
                found.insert(item.value("name").toString(), item.value("path").toString());
            }
        }
        return found;
    }

    // The index among the recorded items of the call at callIndex.
    qsizetype itemIndex(qsizetype callIndex) const
    {
        qsizetype index = -1;
        for (qsizetype i = 0; i <= callIndex; ++i)
            index += client->server.calls[i].contains(' ') ? 1 : 0;
        return index;
    }

    QString root, usr, system, user;
    std::unique_ptr<PrivateBus> bus;
    std::optional<TestClient> client;
};
