#include "engine/RunJournal.h"

#include "foundation/AtomicFile.h"
#include "foundation/Log.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

namespace {

// Far more than any list of items a login runs; a larger file is not ours.
constexpr qint64 kMaximumSize = 4 * 1024 * 1024;

QByteArray encodedPath(const QString& path)
{
    return QFile::encodeName(path).toPercentEncoding("/");
}

} // namespace

RunJournal::RunJournal(QString path)
    : m_path(std::move(path))
{
}

RunJournal::~RunJournal()
{
    closeRun();
}

RunJournal::Contents RunJournal::read() const
{
    Contents contents;
    QByteArray bytes;
    if (AtomicFile::read(m_path, kMaximumSize, &bytes) != 0)
        return contents;
    QList<QByteArray> lines = bytes.split('\n');
    // The part after the last line end is a line cut short, or nothing.
    lines.removeLast();
    for (const QByteArray& line : lines) {
        if (line.isEmpty())
            continue;
        const QList<QByteArray> fields = line.split(' ');
        const QByteArray& kind = fields.constFirst();
        if (kind == "login" && fields.size() == 2 && contents.loginKey.isNull()) {
            contents.loginKey = QString::fromUtf8(QByteArray::fromPercentEncoding(fields[1]));
        } else if (kind == "run" && !contents.hasUnfinishedRun) {
            contents.hasUnfinishedRun = true;
            contents.lastRun = {};
        } else if (kind == "done") {
            contents.hasUnfinishedRun = false;
        } else if (kind == "item" && fields.size() == 5 && fields[4] == ".") {
            const Launch launch { QFile::decodeName(QByteArray::fromPercentEncoding(fields[3])), fields[1].toLongLong(),
                                  fields[2].toLongLong() };
            if (launch.path.isEmpty())
                continue;
            contents.launches.append(launch);
            contents.lastRun.startedPaths.insert(launch.path);
        } else if (kind == "delay" && fields.size() == 3 && fields[2] == ".") {
            bool isNumber = false;
            const qint32 sortIndex = fields[1].toInt(&isNumber);
            if (isNumber)
                contents.lastRun.waitedDelays.insert(sortIndex);
        }
    }
    return contents;
}

bool RunJournal::hasUnfinishedLaunchRun(const QString& loginKey) const
{
    const std::lock_guard lock(m_mutex);
    const Contents contents = read();
    return contents.loginKey == loginKey && contents.hasUnfinishedRun;
}

QList<RunJournal::Launch> RunJournal::openForLogin(const QString& loginKey)
{
    const std::lock_guard lock(m_mutex);
    Contents contents = read();
    if (contents.loginKey == loginKey)
        return contents.launches;
    startAfresh(loginKey);
    return {};
}

RunJournal::LaunchRun RunJournal::beginLaunchRun(const QString& loginKey)
{
    const std::lock_guard lock(m_mutex);
    Contents contents = read();
    LaunchRun run;
    if (contents.loginKey != loginKey)
        startAfresh(loginKey);
    else if (contents.hasUnfinishedRun)
        run = contents.lastRun;
    closeRun();
    // A failure is told by the write below.
    AtomicFile::open(m_path, O_WRONLY | O_CREAT | O_APPEND, 0600, &m_runDescriptor);
    // Written also when the run goes on: the write tells whether the journal keeps it.
    run.isKept = append("run");
    return run;
}

void RunJournal::recordStartedItem(const Launch& launch)
{
    const std::lock_guard lock(m_mutex);
    append("item " + QByteArray::number(launch.pid) + ' ' + QByteArray::number(launch.startTicks) + ' '
           + encodedPath(launch.path) + " .");
}

void RunJournal::recordWaitedDelay(qint32 sortIndex)
{
    const std::lock_guard lock(m_mutex);
    append("delay " + QByteArray::number(sortIndex) + " .");
}

void RunJournal::endLaunchRun()
{
    const std::lock_guard lock(m_mutex);
    append("done");
    closeRun();
}

void RunJournal::closeRun() const
{
    if (m_runDescriptor >= 0)
        ::close(std::exchange(m_runDescriptor, -1));
}

void RunJournal::startAfresh(const QString& loginKey) const
{
    // Another file may take the place of the one a run keeps open.
    closeRun();
    QDir().mkpath(QFileInfo(m_path).path());
    write(O_TRUNC, "login " + loginKey.toUtf8().toPercentEncoding() + '\n');
}

bool RunJournal::append(const QByteArray& line) const
{
    return write(O_APPEND, '\n' + line + '\n');
}

bool RunJournal::write(int flags, const QByteArray& bytes) const
{
    // The appends of a run go where its first one went.
    const bool isRunDescriptor = flags == O_APPEND && m_runDescriptor >= 0;
    int descriptor = isRunDescriptor ? m_runDescriptor : -1;
    int error = isRunDescriptor ? 0 : AtomicFile::open(m_path, O_WRONLY | O_CREAT | flags, 0600, &descriptor);
    if (error == 0) {
        const ssize_t written = ::write(descriptor, bytes.constData(), size_t(bytes.size()));
        if (written != bytes.size())
            error = written < 0 ? errno : EIO;
    }
    if (error != 0)
        LOG_WARN("Cannot write to the run journal %1: %2", m_path, AtomicFile::describe(error));
    if (descriptor >= 0 && !isRunDescriptor)
        ::close(descriptor);
    return error == 0;
}
