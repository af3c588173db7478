#include "foundation/Log.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <syslog.h>
#include <unistd.h>
#include <utility>
#include <vector>

std::atomic<int32_t> gLogMask { 127 };
std::atomic<bool> gLogViewsEnabled { false };
std::atomic<bool> gLogObservationsEnabled { false };

namespace {

constexpr uint64_t kDefaultFilesToKeep = 10;

// Serialises writers so that a line and its newline stay together.
std::mutex gWriteMutex;
// -1: no file. Descriptor 0 is standard input, never a log file.
int gLogFile = -1;
QString gLogFilePath;
// Lines held until the set-up, with their levels; bounded, in case it never comes.
constexpr size_t kMaximumHeldLines = 10000;
bool gHolding = false;
std::vector<std::pair<int32_t, QByteArray>> gHeldLines;
void write_all(int fd, const QByteArray& bytes)
{
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, static_cast<size_t>(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        data += written;
        left -= written;
    }
}

void system_log(const QString& message, const QString& detail)
{
    syslog(LOG_ERR, "%s", message.toUtf8().constData());
    syslog(LOG_ERR, "%s", detail.toUtf8().constData());
}

// Our own log files, "Lanternwick-<yyyy-MM-dd-HHmmss>[-<n>].log", oldest first.
QStringList own_log_files(const QDir& folder)
{
    static const QRegularExpression pattern(
        QStringLiteral("^Lanternwick-(\\d{4}-\\d{2}-\\d{2}-\\d{6})(?:-(\\d{1,9}))?\\.log$"));
    struct Entry {
        QString name;
        QString stamp;
        int sequence;
    };
    std::vector<Entry> entries;
    for (const QFileInfo& info : folder.entryInfoList(QDir::Files | QDir::Hidden | QDir::NoSymLinks)) {
        const auto match = pattern.match(info.fileName());
        if (match.hasMatch())
            entries.push_back({ info.fileName(), match.captured(1), match.captured(2).isEmpty() ? 1 : match.captured(2).toInt() });
    }
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.stamp != b.stamp ? a.stamp < b.stamp : a.sequence < b.sequence;
    });
    QStringList names;
    for (const Entry& entry : entries)
        names << entry.name;
    return names;
}

void remove_old_files(const QDir& folder, uint64_t filesToKeep)
{
    QStringList names = own_log_files(folder);
    while (!names.isEmpty() && static_cast<uint64_t>(names.size()) >= filesToKeep) {
        const QString path = folder.filePath(names.takeFirst());
        if (::unlink(QFile::encodeName(path).constData()) != 0)
            system_log(QStringLiteral("Failed deleting old log at %1!").arg(path), QString::fromLocal8Bit(std::strerror(errno)));
    }
}

// Opens a new file named after the start time; a second start within the same
// second gets a numbered name instead of truncating the first one's log.
void open_new_file(const QDir& folder)
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
    for (int sequence = 1; sequence < 1000; ++sequence) {
        const QString name = sequence == 1 ? QStringLiteral("Lanternwick-%1.log").arg(stamp)
                                           : QStringLiteral("Lanternwick-%1-%2.log").arg(stamp).arg(sequence);
        const QString path = folder.filePath(name);
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0) {
            std::lock_guard lock(gWriteMutex);
            gLogFile = fd;
            gLogFilePath = path;
            return;
        }
        if (errno != EEXIST)
            return;
    }
}

} // namespace

int32_t log_mask_for_verbosity(int32_t verbosity)
{
    switch (verbosity) {
    case 1:
        return 31;
    case 2:
        return 63;
    case 3:
        return 127;
    default:
        return 7;
    }
}

QString log_level_name(int32_t level)
{
    switch (level) {
    case LOG_LEVEL_FATAL:
        return QStringLiteral("FATAL");
    case LOG_LEVEL_ERROR:
        return QStringLiteral("ERROR");
    case LOG_LEVEL_WARN:
        return QStringLiteral("WARN");
    case LOG_LEVEL_NORMAL:
        return QStringLiteral("NORMAL");
    case LOG_LEVEL_INFO:
        return QStringLiteral("INFO");
    case LOG_LEVEL_VERBOSE:
        return QStringLiteral("VERBOSE");
    case LOG_LEVEL_DEBUG:
        return QStringLiteral("DEBUG");
    default:
        return QStringLiteral("UNKNOWN");
    }
}

QString state_directory()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || !QDir::isAbsolutePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/Lanternwick");
}

QString log_directory()
{
    return state_directory() + QStringLiteral("/log");
}

QString log_file_path()
{
    std::lock_guard lock(gWriteMutex);
    return gLogFilePath;
}

namespace {

void open_log_file(uint64_t filesToKeep)
{
    const QString path = log_directory();
    if (!QDir().mkpath(path)) {
        system_log(QStringLiteral("Failed creating logs directory at %1!").arg(path), QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    const QDir folder(path);
    if (!folder.isReadable())
        system_log(QStringLiteral("Failed enumerating logs directory at %1!").arg(path), QString::fromLocal8Bit(std::strerror(errno)));
    else
        remove_old_files(folder, filesToKeep == 0 || filesToKeep >= uint64_t(INT64_MAX) ? kDefaultFilesToKeep : filesToKeep);
    open_new_file(folder);
}

void write_line(const QByteArray& bytes)
{
    std::lock_guard lock(gWriteMutex);
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    std::fflush(stdout);
    if (gLogFile >= 0)
        write_all(gLogFile, bytes);
}

// Ends holding; the held lines go out at the mask now in effect.
void write_held_lines()
{
    std::vector<std::pair<int32_t, QByteArray>> held;
    {
        std::lock_guard lock(gWriteMutex);
        gHolding = false;
        held.swap(gHeldLines);
    }
    for (const auto& [level, bytes] : held) {
        if (gLogMask & level)
            write_line(bytes);
    }
}

} // namespace

void log_initialize(bool logToFile, uint64_t filesToKeep)
{
    {
        // A second set-up (tests, a changed setting) starts from no file.
        std::lock_guard lock(gWriteMutex);
        if (gLogFile >= 0)
            ::close(gLogFile);
        gLogFile = -1;
        gLogFilePath.clear();
    }
    if (logToFile)
        open_log_file(filesToKeep);
    write_held_lines();
}

void log_hold_until_initialized()
{
    // A program that ends before the set-up still prints what it held.
    static std::once_flag atExit;
    std::call_once(atExit, [] { std::atexit(write_held_lines); });
    std::lock_guard lock(gWriteMutex);
    gHolding = true;
}

QString log_escaped(const QString& text)
{
    QString escaped;
    for (const QChar c : text) {
        const QChar::Category category = c.category();
        if (category == QChar::Other_Control || category == QChar::Separator_Line || category == QChar::Separator_Paragraph
            || c == QLatin1Char('\\'))
            escaped += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            escaped += c;
    }
    return escaped;
}

void log_message(int32_t level, const char* file, int line, const QString& message)
{
    const QString time = QTime::currentTime().toString(QStringLiteral("HH:mm:ss.zzz"));
    const QString fileName = QFileInfo(QString::fromUtf8(file)).fileName();
    QByteArray bytes = QStringLiteral("%1 [%2:%3] - %4 %5")
                           .arg(time, fileName, QString::number(line), log_level_name(level), message)
                           .toUtf8();
    bytes.append('\n');
    {
        std::lock_guard lock(gWriteMutex);
        if (gHolding) {
            if (gHeldLines.size() < kMaximumHeldLines)
                gHeldLines.emplace_back(level, std::move(bytes));
            return;
        }
    }
    write_line(bytes);
}
