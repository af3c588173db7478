#pragma once
// Paths of items, of running programs and of desktop entries name the same
// file in many spellings (symbolic links, "..", trailing slashes); they are
// only ever compared in canonical form.
#include <QString>

// The absolute path with links resolved; for a path that does not exist, the
// cleaned absolute path.
QString canonicalPath(const QString& path);

// True when both name the same file; an empty path names nothing.
bool isSamePath(const QString& first, const QString& second);
