#pragma once
// What the tests share that run the program, or its parts, on a login of
// their own (a temporary home and a private bus): waiting for what the
// service or the other process does, and the files they read and write.
#include "support/TestEnvironment.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QThread>
#include <functional>
#include <gtest/gtest.h>

// Keeps the event loop running while it waits.
inline bool waitFor(const std::function<bool()>& condition, int ms = 5000)
{
    QDeadlineTimer deadline(ms);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return true;
}

inline void writeFile(const QString& path, const QByteArray& contents)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(contents);
}

inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A program started with it keeps every file of the desktop's layout below the temporary home.
inline void insertHomeFolders(QProcessEnvironment& environment, const QString& home)
{
    environment.insert("HOME", home);
    environment.insert("XDG_CONFIG_HOME", home + "/.config");
    environment.insert("XDG_DATA_HOME", home + "/.local/share");
    environment.insert("XDG_STATE_HOME", home + "/.local/state");
    environment.insert("XDG_CACHE_HOME", home + "/.cache");
    environment.insert("XDG_CONFIG_DIRS", home + "/etc/xdg");
    environment.insert("XDG_RUNTIME_DIR", makeRuntimeFolder(home));
}
