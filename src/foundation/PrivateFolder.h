#pragma once
// A folder only its owner may enter, made with its parents when it is
// missing (the data folder: it says what the user runs at login).
#include <QString>

class PrivateFolder {
public:
    // Empty when path is a folder afterwards, else why not, naming the folder
    // on the way that could not be made ("Not a directory" when something
    // else stands in its place).
    static QString make(const QString& path);
};
