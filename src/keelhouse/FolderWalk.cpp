#include "keelhouse/FolderWalk.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <sys/stat.h>

namespace {

struct FolderWalkState {
    QString suffix;
    QSet<QPair<quint64, quint64>> visited;
    QStringList files;

    void walk(const QString& folder, int depth)
    {
        struct stat status {};
        if (::lstat(QFile::encodeName(folder).constData(), &status) != 0 || !S_ISDIR(status.st_mode))
            return;
        const QPair<quint64, quint64> id { quint64(status.st_dev), quint64(status.st_ino) };
        if (visited.contains(id))
            return;
        visited.insert(id);
        const QDir dir(folder);
        for (const QString& name : dir.entryList({ QLatin1Char('*') + suffix }, QDir::Files | QDir::System, QDir::Name))
            files.append(folder + QLatin1Char('/') + name);
        if (depth >= FolderWalk::maxDepth)
            return;
        for (const QString& name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks, QDir::Name))
            walk(folder + QLatin1Char('/') + name, depth + 1);
    }
};

} // namespace

QStringList FolderWalk::filesBelow(const QString& folder, const QString& suffix)
{
    FolderWalkState state { suffix, {}, {} };
    state.walk(QDir::cleanPath(folder), 0);
    return state.files;
}
