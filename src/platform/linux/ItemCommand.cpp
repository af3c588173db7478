#include "platform/linux/ItemCommand.h"

#include "platform/CanonicalPath.h"
#include "platform/linux/DesktopEntryFile.h"
#include "platform/linux/GioPtr.h"
#include "platform/linux/ProcessTable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The kernel gives up on deeper chains of "#!" lines too.
constexpr int kMaximumDepth = 4;

// Programs that run a script or an entry named in their arguments, by name
// without a version ("python3.11" is "python", "wine64" is "wine").
const QStringList kInterpreters = { "sh", "bash", "dash", "zsh", "ksh", "csh", "tcsh", "fish", "python", "pypy",
    "perl", "ruby", "node", "nodejs", "gjs", "cjs", "java", "wine", "mono", "php", "lua", "luajit", "tclsh", "wish",
    "flatpak" };

bool isInterpreter(const QString& program)
{
    static const QRegularExpression version(QStringLiteral("[0-9.]+$"));
    return kInterpreters.contains(QFileInfo(program).fileName().remove(version));
}

// An argument that names a file is compared in its cleaned form.
QString comparable(const QString& argument)
{
    return argument.startsWith('/') ? QDir::cleanPath(argument) : argument;
}

QString programInPath(const QString& name)
{
    if (name.contains('/'))
        return writtenPath(name);
    const QString found = takeGString(g_find_program_in_path(QFile::encodeName(name).constData()));
    return found.isEmpty() ? QString() : writtenPath(found);
}

// The interpreter and its one optional argument of a "#!" line; empty for any other file.
QStringList interpreterLine(const QString& program)
{
    // Only a regular file is opened, and without waiting: a pipe would block
    // the judging. Only the line is read, not a buffer's worth of a large
    // program.
    const QByteArray name = QFile::encodeName(program);
    struct stat status {};
    if (::stat(name.constData(), &status) != 0 || !S_ISREG(status.st_mode) || ::access(name.constData(), X_OK) != 0)
        return {};
    const int descriptor = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return {};
    char buffer[256];
    const ssize_t length = ::read(descriptor, buffer, sizeof buffer);
    ::close(descriptor);
    const QByteArray head(buffer, std::max<ssize_t>(length, 0));
    const QByteArray line = head.left(head.indexOf('\n')).trimmed();
    if (!line.startsWith("#!"))
        return {};
    const QByteArray rest = line.mid(2).trimmed();
    const qsizetype space = rest.indexOf(' ');
    if (space < 0)
        return { QFile::decodeName(rest) };
    return { QFile::decodeName(rest.left(space)), QFile::decodeName(rest.mid(space + 1).trimmed()) };
}

// The arguments of an Exec value before its first field code, with "%%" as the '%' it stands for.
QStringList entryArguments(const QString& exec)
{
    static const QRegularExpression fieldCode(QStringLiteral("%[a-zA-Z]"));
    QStringList arguments;
    for (const QString& argument : DesktopEntryFile::commandArguments(exec).value_or(QStringList())) {
        if (QString(argument).remove(QStringLiteral("%%")).contains(fieldCode))
            break;
        arguments.append(QString(argument).replace(QStringLiteral("%%"), QStringLiteral("%")));
    }
    return arguments;
}

} // namespace

ItemCommand ItemCommand::forItemAtPath(const QString& path)
{
    const QString itemPath = writtenPath(path);
    const QFileInfo info(itemPath);
    if (!info.isFile())
        return {};
    if (itemPath.endsWith(QLatin1String(".desktop"))) {
        const std::optional<DesktopEntryFile> entry = DesktopEntryFile::load(itemPath, nullptr, DesktopEntryFile::maxOwnFileSize);
        const std::optional<QString> exec = entry ? entry->commandLine() : std::nullopt;
        return exec ? forArguments(entryArguments(*exec), 0) : ItemCommand();
    }
    return info.isExecutable() ? forArguments({ itemPath }, 0) : ItemCommand();
}

ItemCommand ItemCommand::forArguments(QStringList arguments, int depth)
{
    if (arguments.isEmpty() || depth > kMaximumDepth)
        return {};
    const QString program = programInPath(arguments.first());
    if (program.isEmpty())
        return {};
    const QStringList interpreter = interpreterLine(program);
    if (!interpreter.isEmpty()) {
        arguments.first() = program;
        return forArguments(interpreter + arguments, depth + 1);
    }
    if (QFileInfo(program).fileName() == QLatin1String("env")) {
        // env's own options and the variables it sets come before the program it runs.
        arguments.removeFirst();
        while (!arguments.isEmpty() && (arguments.first().startsWith('-') || arguments.first().contains('=')))
            arguments.removeFirst();
        return forArguments(arguments, depth + 1);
    }
    ItemCommand command;
    command.m_isInterpreter = isInterpreter(program);
    command.m_arguments = arguments.mid(1);
    if (command.m_isInterpreter && command.m_arguments.isEmpty())
        return {};
    for (QString& argument : command.m_arguments)
        argument = comparable(argument);
    command.m_program = program;
    const QString runningFile = QFileInfo(program).canonicalFilePath();
    command.m_runningFile = runningFile.isEmpty() ? program : runningFile;
    return command;
}

QStringList ItemCommand::programFiles() const
{
    if (isEmpty())
        return {};
    return m_runningFile == m_program ? QStringList { m_program } : QStringList { m_program, m_runningFile };
}

bool ItemCommand::isRunByProcess(const ProcessTable& table, qint64 pid) const
{
    if (isEmpty())
        return false;
    const QString executable = table.executable(pid);
    if (executable.isEmpty() || (executable != m_program && executable != m_runningFile))
        return false;
    const QStringList commandLine = table.commandLine(pid);
    if (commandLine.isEmpty() || commandLine.size() - 1 < m_arguments.size())
        return false;
    if (!m_isInterpreter && !isProgramOfProcess(executable, commandLine.first()))
        return false;
    for (qsizetype index = 0; index < m_arguments.size(); ++index) {
        if (comparable(commandLine.at(index + 1)) != m_arguments.at(index))
            return false;
    }
    return true;
}

// The kernel names the file a chain of links leads to: the path the process
// was started by tells which link. A bare name was looked up in the search
// path; a program may also have put a title of its own in its place.
bool ItemCommand::isProgramOfProcess(const QString& executable, const QString& firstArgument) const
{
    if (firstArgument.contains('/'))
        return writtenPath(firstArgument) == m_program;
    return executable == m_program || firstArgument == QFileInfo(m_program).fileName();
}
