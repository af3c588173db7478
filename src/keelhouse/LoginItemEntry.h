#pragma once
// One entry of the session's login items list, as the list reads it.
#include <QString>

struct LoginItemEntry {
    // The entry's own handle in the list (its desktop entry file).
    QString ref;
    QString name;
    // The file the entry resolves to; empty when resolving failed.
    QString path;
    // The program the entry starts, when it could be found.
    QString program;
    // Opens hidden (our own flag, not the session's Hidden).
    bool hidden = false;
    // An errno value when resolving failed, else 0.
    int errorCode = 0;
    // Whether the command is that program alone (field codes aside): an item
    // stored with the bare program path by earlier versions stands for it.
    bool runsProgramAlone = false;
    // An installed application of the very same command: it lends the entry
    // a name and an icon, and names it in items of earlier versions.
    QString applicationPath;
    // Why resolving failed, when the errno value alone would not say it.
    QString errorReason;
};
