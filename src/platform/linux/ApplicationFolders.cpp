#include "platform/linux/ApplicationFolders.h"

#include "foundation/Log.h"
#include "platform/linux/FileState.h"

#include <QByteArray>
#include <QList>
#include <algorithm>
#include <glib.h>
#include <mutex>

namespace {

// The applications folders GIO reads, in its order.
QList<QByteArray> applicationFolders()
{
    QList<QByteArray> folders { QByteArray(g_get_user_data_dir()) + "/applications" };
    for (const char* const* dir = g_get_system_data_dirs(); *dir; ++dir)
        folders.append(QByteArray(*dir) + "/applications");
    return folders;
}

// GIO's walk: every name that does not end in ".desktop" and is a folder,
// through links, is walked in turn. False once it has visited more than
// *budget folders.
bool walkEnds(const QByteArray& folder, int* budget)
{
    GDir* dir = g_dir_open(folder.constData(), 0, nullptr);
    if (!dir)
        return true;
    bool ends = --*budget >= 0;
    while (const char* name = ends ? g_dir_read_name(dir) : nullptr) {
        if (g_str_has_suffix(name, ".desktop"))
            continue;
        const QByteArray path = folder + '/' + name;
        if (g_file_test(path.constData(), G_FILE_TEST_IS_DIR))
            ends = walkEnds(path, budget);
    }
    g_dir_close(dir);
    return ends;
}

} // namespace

bool ApplicationFolders::gioWalkEnds()
{
    static std::mutex mutex;
    // What GIO watches of a folder: a change (or its coming or going) makes GIO walk it again.
    static QList<FileState> walked;
    static bool ends = false;

    const QList<QByteArray> folders = applicationFolders();
    QList<FileState> states;
    for (const QByteArray& folder : folders)
        states.append(FileState::of(folder));
    const std::lock_guard lock(mutex);
    if (!walked.isEmpty() && states == walked)
        return ends;
    int budget = maxFolders;
    ends = std::all_of(folders.cbegin(), folders.cend(), [&](const QByteArray& folder) { return walkEnds(folder, &budget); });
    walked = states;
    if (!ends)
        LOG_WARN("The applications folders hold folder links that lead back into them: desktop entries start from "
                 "their own Exec line and documents open with no default application until the links are gone.");
    return ends;
}
