#pragma once
// An in-memory login items list whose state the test owns and can make fail.
#include "keelhouse/LoginItemsList.h"

#include <QFileInfo>
#include <QSet>
#include <cerrno>
#include <memory>

struct FakeListState {
    QList<LoginItemEntry> entries;
    QSet<QString> failingInsertPaths;
    QSet<QString> failingRemoveRefs;
    int nextRef = 1;

    void add(const QString& name, const QString& path, int errorCode = 0)
    {
        LoginItemEntry entry;
        entry.ref = QStringLiteral("fake:%1").arg(nextRef++);
        entry.name = name;
        entry.path = entry.program = path;
        entry.errorCode = errorCode;
        entries.append(entry);
    }
    qsizetype countWithPath(const QString& path) const
    {
        return std::count_if(entries.begin(), entries.end(), [&](const LoginItemEntry& e) { return e.path == path; });
    }
};

class FakeLoginItemsList : public LoginItemsList {
public:
    explicit FakeLoginItemsList(std::shared_ptr<FakeListState> state) : m_state(std::move(state)) { }

    QList<LoginItemEntry> entries() override { return m_state->entries; }
    int insert(const QString& name, const QString& path, bool hidden, bool /*switchedOff*/) override
    {
        if (m_state->failingInsertPaths.contains(path))
            return EACCES;
        m_state->add(name, path);
        m_state->entries.last().hidden = hidden;
        return 0;
    }
    int remove(const QString& ref) override
    {
        if (m_state->failingRemoveRefs.contains(ref))
            return EACCES;
        const auto removed = m_state->entries.removeIf([&](const LoginItemEntry& e) { return e.ref == ref; });
        return removed ? 0 : ENOENT;
    }
    QString displayNameForPath(const QString& path) const override { return QFileInfo(path).fileName(); }
    QString ownEntryRef() const override { return QStringLiteral("fake:own"); }
    QStringList watchedFolders() const override { return {}; }

private:
    std::shared_ptr<FakeListState> m_state;
};
