#pragma once
// A folder only its owner may enter, made with its parents when it is
// missing (the data folder: it says what the user runs at login).
#include <QString>

class PrivateFolder {
public:
    // 0 when path is a folder afterwards, else the errno of the step that failed.
    static int make(const QString& path);
};
