#pragma once
// Points HOME and every XDG_* folder at a temporary folder, so that no test
// ever reads or writes the real home folder.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

// The runtime folder of a temporary home, or an empty string when it cannot
// be made. It must be private to the user, or Qt warns and picks its own.
inline QString makeRuntimeFolder(const QString& home)
{
    const QString runtime = home + "/run";
    if (!QDir().mkpath(runtime) || !QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
        return {};
    return runtime;
}

inline bool isolateTestHome(const QTemporaryDir& home)
{
    if (!home.isValid())
        return false;
    const QByteArray root = home.path().toUtf8();
    qputenv("HOME", root);
    qputenv("XDG_CONFIG_HOME", root + "/.config");
    qputenv("XDG_DATA_HOME", root + "/.local/share");
    qputenv("XDG_STATE_HOME", root + "/.local/state");
    qputenv("XDG_CACHE_HOME", root + "/.cache");
    qputenv("XDG_CONFIG_DIRS", root + "/etc/xdg");
    const QString runtime = makeRuntimeFolder(home.path());
    if (runtime.isEmpty())
        return false;
    qputenv("XDG_RUNTIME_DIR", runtime.toUtf8());
    // Nor the machine's login session: a test that needs one names its own.
    qunsetenv("XDG_SESSION_ID");
    return true;
}
