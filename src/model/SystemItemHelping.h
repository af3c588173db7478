#pragma once
// What a file item asks of the desktop about its path. The shell implements
// it; the model only holds it.
#include <QString>

class SystemItemHelping {
public:
    virtual ~SystemItemHelping() = default;

    virtual bool isMissingItemAtPath(const QString& path) const = 0;
    virtual QString niceDisplayNameForItemAtPath(const QString& path) const = 0;
    virtual QString niceDescriptionForItemAtPath(const QString& path) const = 0;
    // An icon name (theme name or file), so the model stays free of images.
    virtual QString iconNameForItemAtPath(const QString& path) const = 0;
};
