#pragma once
// The files below a folder, walked so that no folder layout can hold the
// service: a link to a folder is never followed, each real folder is read
// once (a bind mount can show one twice), and the depth is bounded.
#include <QString>
#include <QStringList>

class FolderWalk {
public:
    // Deeper folders than any desktop's data folders have are left out.
    static constexpr int maxDepth = 8;

    // The paths of the files (links to files included) whose names end with
    // suffix, in folder and the real folders below it.
    static QStringList filesBelow(const QString& folder, const QString& suffix);
};
