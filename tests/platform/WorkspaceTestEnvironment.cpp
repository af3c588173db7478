#include "WorkspaceTestEnvironment.h"

#include "platform/linux/ProcessTable.h"
#include "support/EndToEnd.h"
#include "support/TestHome.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <gio/gio.h>
#include <gtest/gtest.h>
#include <unistd.h>

// GIO's MIME tables (plain malloc inside libgio, so no symbol to name) lose a
// few bytes, once per process, when they are loaded again after a type
// description was read. The price: a GIO object we forgot to release would be
// hidden too (strings still show), which is why the workspace holds every one
// of them in a GioPtr.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libgio-2.0.so\n";
}

namespace workspace_test {

namespace {

QString root()
{
    return testHome() + "/workspace";
}

class Environment : public testing::Environment {
public:
    void SetUp() override
    {
        QDir().mkpath(root() + "/system");
        ASSERT_TRUE(QFile::link("/usr/share/mime", root() + "/system/mime"));
        qputenv("XDG_DATA_DIRS", (root() + "/system").toUtf8());
        // Type descriptions in the words the tests expect.
        qputenv("LANGUAGE", "C");

        installHelper(helperPath());
        writeDesktopEntry(openerEntryPath(), "Test Opener", execQuoted(helperPath()) + " %f", "Opens test files",
            "lw-test-icon");
        writeFile(qEnvironmentVariable("XDG_CONFIG_HOME") + "/mimeapps.list",
            "[Default Applications]\ntext/plain=lw-test-opener.desktop\n");
    }
};

const auto* const gEnvironment = testing::AddGlobalTestEnvironment(new Environment);

} // namespace

QString hostileName()
{
    // No '%': GIO checks the program of an Exec line before expanding its
    // '%%', so a desktop entry cannot run a program with a percent sign in its path.
    return QStringLiteral("odd 'q' \"dq\" $HOME `id` \\n\nline");
}

QString hostileTestFolder()
{
    const QString test = QString::fromUtf8(testing::UnitTest::GetInstance()->current_test_info()->name());
    const QString folder = root() + "/" + hostileName() + "/" + test;
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    return folder;
}

QString helperPath()
{
    return root() + "/" + hostileName() + "/lw test touch";
}

QString openerEntryPath()
{
    return qEnvironmentVariable("XDG_DATA_HOME") + "/applications/lw-test-opener.desktop";
}

void installHelper(const QString& path)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile::remove(path);
    ASSERT_TRUE(QFile::copy(QStringLiteral(LW_TEST_TOUCH), path));
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

void writeDesktopEntry(const QString& path, const QString& name, const QString& exec, const QString& comment,
    const QString& icon)
{
    // GKeyFile escapes what a key file cannot hold as it is (the newline).
    GKeyFile* keys = g_key_file_new();
    const char* group = G_KEY_FILE_DESKTOP_GROUP;
    g_key_file_set_string(keys, group, G_KEY_FILE_DESKTOP_KEY_TYPE, "Application");
    g_key_file_set_string(keys, group, G_KEY_FILE_DESKTOP_KEY_NAME, name.toUtf8().constData());
    g_key_file_set_string(keys, group, G_KEY_FILE_DESKTOP_KEY_EXEC, exec.toUtf8().constData());
    if (!comment.isEmpty())
        g_key_file_set_string(keys, group, G_KEY_FILE_DESKTOP_KEY_COMMENT, comment.toUtf8().constData());
    if (!icon.isEmpty())
        g_key_file_set_string(keys, group, G_KEY_FILE_DESKTOP_KEY_ICON, icon.toUtf8().constData());
    g_key_file_set_string(keys, group, G_KEY_FILE_DESKTOP_KEY_MIME_TYPE, "text/plain;");
    gsize length = 0;
    char* data = g_key_file_to_data(keys, &length, nullptr);
    writeFile(path, QByteArray(data, static_cast<qsizetype>(length)));
    g_free(data);
    g_key_file_free(keys);
}

QString execQuoted(const QString& program)
{
    QString quoted;
    for (const QChar c : program) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        quoted += c;
        // A literal percent sign is doubled, even inside quotes.
        if (c == '%')
            quoted += '%';
    }
    return '"' + quoted + '"';
}

QStringList waitForRun(const QString& program)
{
    QFile marker(program + ".ran");
    const QDeadlineTimer deadline(30000);
    while (!marker.exists() && !deadline.hasExpired())
        QThread::msleep(10);
    if (!marker.open(QIODevice::ReadOnly))
        return {};
    QList<QByteArray> fields = marker.readAll().split('\0');
    fields.removeLast();
    QStringList result;
    for (const QByteArray& field : fields)
        result.append(QFile::decodeName(field));
    return result;
}

void forgetRun(const QString& program)
{
    QFile::remove(program + ".ran");
}

OneProgramEntries writeOneProgramEntries(const QString& folder)
{
    const OneProgramEntries entries { folder + "/term", folder + "/htop.desktop", folder + "/mc.desktop" };
    installHelper(entries.program);
    writeDesktopEntry(entries.htop, "Htop", execQuoted(entries.program) + " --stay -e htop");
    writeDesktopEntry(entries.mc, "Mc", execQuoted(entries.program) + " --stay -e mc");
    return entries;
}

void writeStayingScript(const QString& path, const QString& stayPath, ScriptLanguage language)
{
    const QByteArray stay = "'" + stayPath.toUtf8() + "'";
    writeFile(path, language == ScriptLanguage::Shell
            ? "#!/bin/sh\ni=0\nwhile [ -e " + stay + " ] && [ $i -lt 600 ]; do sleep 0.05; i=$((i+1)); done\n"
            : "#!/usr/bin/perl\nfor (1 .. 600) { last unless -e " + stay + "; select(undef, undef, undef, 0.05); }\n");
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

int processesRunning(const QStringList& commandLine)
{
    const ProcessTable table(QStringLiteral("/proc"), getuid());
    int count = 0;
    for (const qint64 pid : table.pids()) {
        const std::optional<ProcessTable::Process> process = table.process(pid);
        if (process && !process->hasEnded && table.commandLine(pid) == commandLine)
            ++count;
    }
    return count;
}

} // namespace workspace_test
