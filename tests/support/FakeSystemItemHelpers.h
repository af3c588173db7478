#pragma once
// Answers about paths from a table, and counts the questions.
#include "model/SystemItemHelping.h"

#include <QSet>

class FakeSystemItemHelpers : public SystemItemHelping {
public:
    bool isMissingItemAtPath(const QString& path) const override { return missingPaths.contains(path); }
    QString niceDisplayNameForItemAtPath(const QString& path) const override
    {
        ++questions;
        return QStringLiteral("Name of ") + path;
    }
    QString niceDescriptionForItemAtPath(const QString& path) const override
    {
        ++questions;
        return QStringLiteral("Description of ") + path;
    }
    QString iconNameForItemAtPath(const QString& path) const override
    {
        ++questions;
        return QStringLiteral("icon:") + path;
    }

    QSet<QString> missingPaths;
    mutable int questions = 0;
};
