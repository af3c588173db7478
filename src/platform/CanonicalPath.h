#pragma once
// Paths of items, of running programs and of desktop entries are compared as
// written: absolute and cleaned ("..", "." and repeated or trailing slashes
// gone), never through symbolic links, since two names of one file can be two
// programs (/usr/bin/xzcat and /usr/bin/unxz behave by the name they run as).
#include <QString>

// The absolute, cleaned path, links left as they are; empty for an empty path.
QString writtenPath(const QString& path);

// The absolute path with links resolved; for a path that does not exist, the
// cleaned absolute path. Only for what really is a link to follow (a device
// node's label link), never for telling items apart.
QString canonicalPath(const QString& path);

// True when both are the same path as written; an empty path names nothing.
bool isSamePath(const QString& first, const QString& second);
