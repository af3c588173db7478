#pragma once
// Login records in the utmp format, for a login records file of a test's own.
#include <QByteArray>
#include <cstring>
#include <sys/types.h>
#include <utmpx.h>
#include <vector>

inline utmpx loginRecord(short type, const char* user, qint64 seconds, const char* line = "tty2", const char* host = "",
                         pid_t pid = 0)
{
    utmpx record {};
    record.ut_type = type;
    std::strncpy(record.ut_user, user, sizeof record.ut_user);
    std::strncpy(record.ut_line, line, sizeof record.ut_line);
    std::strncpy(record.ut_host, host, sizeof record.ut_host);
    record.ut_pid = pid;
    record.ut_tv.tv_sec = static_cast<decltype(record.ut_tv.tv_sec)>(seconds);
    return record;
}

inline QByteArray bytesOf(const std::vector<utmpx>& records)
{
    return QByteArray(reinterpret_cast<const char*>(records.data()), static_cast<qsizetype>(records.size() * sizeof(utmpx)));
}
