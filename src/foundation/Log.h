#pragma once
// The log writer: leveled lines to standard output and, when file logging is
// on, to one new file per start in the log folder.
//
// Call sites use the LOG_* macros: they test the mask before any argument is
// turned into text, so a disabled level costs one test. Messages use Qt's
// positional placeholders (%1, %2, ...), filled in one pass, so text inside an
// argument is never read as a format.
#include <QString>
#include <atomic>
#include <cstdint>
#include <type_traits>

enum LogLevel : int32_t {
    LOG_LEVEL_FATAL = 1,
    LOG_LEVEL_ERROR = 2,
    LOG_LEVEL_WARN = 4,
    LOG_LEVEL_NORMAL = 8,
    LOG_LEVEL_INFO = 16,
    LOG_LEVEL_VERBOSE = 32,
    LOG_LEVEL_DEBUG = 64,
};

// Enabled levels; every level until start-up sets it from the verbosity.
extern std::atomic<int32_t> gLogMask;
// Gate the DEBUG lines of list views and of collection observers.
extern std::atomic<bool> gLogViewsEnabled;
extern std::atomic<bool> gLogObservationsEnabled;

int32_t log_mask_for_verbosity(int32_t verbosity);
QString log_level_name(int32_t level);

// Prepares the time format and, with logToFile, opens a new file in
// log_directory(), first removing the oldest of our own files so that
// filesToKeep remain with the new one (0 means 10).
void log_initialize(bool logToFile, uint64_t filesToKeep = 0);

// Holds the lines written from now on until the next log_initialize(), which
// writes those the mask then allows: lines of the steps before logging is set
// up reach the log file, at the verbosity the settings ask for.
void log_hold_until_initialized();

// Writes one line; the caller has already tested the level.
void log_message(int32_t level, const char* file, int line, const QString& message);

// The program's state folder: $XDG_STATE_HOME/Lanternwick.
QString state_directory();
// The folder of the log files: $XDG_STATE_HOME/Lanternwick/log.
QString log_directory();
// The path of the file this start writes to, empty when there is none.
QString log_file_path();

// Text from outside (a path, a file name) as part of one log line: control
// characters, line separators and backslashes become "\xNN", so that it
// cannot forge lines.
QString log_escaped(const QString& text);

// Text of one log argument. Types with a logDescription() member describe
// themselves; pointers to them print "(null)" when null.
template <typename T>
QString log_arg(const T& value)
{
    if constexpr (std::is_enum_v<T>)
        return QString::number(static_cast<long long>(value));
    else if constexpr (std::is_arithmetic_v<T>)
        return QString::number(value);
    else if constexpr (std::is_convertible_v<const T&, QString>)
        return QString(value);
    else if constexpr (std::is_pointer_v<T>)
        return value ? value->logDescription() : QStringLiteral("(null)");
    else
        return value.logDescription();
}

inline QString log_arg(const char* value) { return QString::fromUtf8(value); }

template <typename... Args>
QString log_format(const QString& format, const Args&... args)
{
    if constexpr (sizeof...(Args) == 0)
        return format;
    else
        return format.arg(log_arg(args)...);
}

#define LW_LOG_IF(condition, level, format, ...)                                                      \
    do {                                                                                             \
        if ((gLogMask.load(std::memory_order_relaxed) & (level)) && (condition))                     \
            log_message((level), __FILE__, __LINE__, log_format(QStringLiteral(format) __VA_OPT__(, ) __VA_ARGS__)); \
    } while (0)

#define LOG_FATAL(format, ...) LW_LOG_IF(true, LOG_LEVEL_FATAL, format __VA_OPT__(, ) __VA_ARGS__)
#define LOG_ERROR(format, ...) LW_LOG_IF(true, LOG_LEVEL_ERROR, format __VA_OPT__(, ) __VA_ARGS__)
#define LOG_WARN(format, ...) LW_LOG_IF(true, LOG_LEVEL_WARN, format __VA_OPT__(, ) __VA_ARGS__)
#define LOG_NORMAL(format, ...) LW_LOG_IF(true, LOG_LEVEL_NORMAL, format __VA_OPT__(, ) __VA_ARGS__)
#define LOG_INFO(format, ...) LW_LOG_IF(true, LOG_LEVEL_INFO, format __VA_OPT__(, ) __VA_ARGS__)
#define LOG_VERBOSE(format, ...) LW_LOG_IF(true, LOG_LEVEL_VERBOSE, format __VA_OPT__(, ) __VA_ARGS__)
#define LOG_DEBUG(format, ...) LW_LOG_IF(true, LOG_LEVEL_DEBUG, format __VA_OPT__(, ) __VA_ARGS__)
// DEBUG lines of list views and of collection observers.
#define LOG_VIEW_DEBUG(format, ...) \
    LW_LOG_IF(gLogViewsEnabled.load(std::memory_order_relaxed), LOG_LEVEL_DEBUG, format __VA_OPT__(, ) __VA_ARGS__)
#define LOG_OBSERVATION_DEBUG(format, ...) \
    LW_LOG_IF(gLogObservationsEnabled.load(std::memory_order_relaxed), LOG_LEVEL_DEBUG, format __VA_OPT__(, ) __VA_ARGS__)
