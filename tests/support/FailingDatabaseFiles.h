#pragma once
#include "model/DatabaseFiles.h"

// Writes fail while told to.
class FailingDatabaseFiles : public DatabaseFiles {
public:
    explicit FailingDatabaseFiles(bool* failWrites)
        : m_failWrites(failWrites)
    {
    }
    bool writePropertyList(const QVariant& value, const QString& path, Error* error, const std::function<void()>& beforeReplacing) override
    {
        if (*m_failWrites) {
            *error = Error("Test", 1, "disk full");
            return false;
        }
        return DatabaseFiles::writePropertyList(value, path, error, beforeReplacing);
    }

private:
    bool* m_failWrites;
};
