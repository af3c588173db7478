#pragma once
// The temporary home folder every test program runs in (set up by TestMain).
#include <QDir>
#include <QString>

inline QString testHome()
{
    return qEnvironmentVariable("HOME");
}

// A fresh, empty sub-folder of the test home, for one test case.
inline QString freshTestFolder(const QString& name)
{
    QDir dir(testHome() + "/" + name);
    dir.removeRecursively();
    QDir().mkpath(dir.path());
    return dir.path();
}
