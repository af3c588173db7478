#pragma once
// Answers about paths from a table, and counts the questions.
#include "model/SystemItemHelping.h"

#include <QHash>
#include <QSet>

class FakeSystemItemHelpers : public SystemItemHelping {
public:
    bool isMissingItemAtPath(const QString& path) const override
    {
        ++missingQuestions[path];
        return missingPaths.contains(path);
    }
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
    // Names, descriptions and icons asked for.
    mutable int questions = 0;
    // By path.
    mutable QHash<QString, int> missingQuestions;
};
