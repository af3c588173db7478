#pragma once
// Paths of items and of desktop entries name the same file in many spellings
// (symbolic links, "..", trailing slashes). Files are compared in canonical
// form; programs are compared as written, cleaned, since a link to a program
// can make another program of it.
#include <QString>

// The absolute path with links resolved; for a path that does not exist, the
// cleaned absolute path.
QString canonicalPath(const QString& path);

// True when both name the same file; an empty path names nothing.
bool isSamePath(const QString& first, const QString& second);

// The absolute path, cleaned, with its links kept.
QString cleanedPath(const QString& path);
