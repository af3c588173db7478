#pragma once
// A workspace for tests of its users: it records what was opened and answers
// what the test set up, matching paths canonically like the real one.
#include "platform/Workspace.h"

#include <QHash>

class FakeWorkspace : public Workspace {
public:
    struct OpenRequest {
        QString path;
        LaunchOptions options;
    };

    struct FileFacts {
        ItemPathType type = ItemPathTypeUnknown;
        QString displayName;
        QString description;
        QString iconName;
    };

    LaunchResult openItemAtPath(const QString& path, LaunchOptions options) override;
    std::unique_ptr<RunningItems> runningItems() const override;
    // Records the launch; it makes nothing run.
    void rememberLaunch(const QString& path, qint64 pid, qint64 startTicks) override;
    QList<std::pair<QString, qint64>> rememberedLaunches() const;
    // Answers what setCanHideWindows says, and records the path.
    bool hideWindowsOfApplication(const QString& applicationPath) override;

    bool isMissingItemAtPath(const QString& path) const override;
    ItemPathType typeForItemAtPath(const QString& path) const override;
    QString displayNameForItemAtPath(const QString& path) const override;
    QString descriptionForItemAtPath(const QString& path) const override;
    QString iconNameForItemAtPath(const QString& path) const override;

    // Files not added here are missing.
    void addFile(const QString& path, const FileFacts& facts);
    // Opening this path fails with the description.
    void failOpening(const QString& path, const QString& errorDescription);
    // A running application launched from (or running the program of) the path.
    void setRunningApplication(const QString& path, bool isFinishedLaunching);
    // The canonical paths of what runs, and whether each has finished launching.
    QHash<QString, bool> runningApplications() const;
    void removeRunningApplication(const QString& path);
    void setCanHideWindows(bool canHide);

    QList<OpenRequest> openRequests() const;
    QStringList hideRequests() const;

private:
    mutable std::mutex m_mutex;
    QHash<QString, FileFacts> m_files;
    QHash<QString, QString> m_failures;
    // Whether each running application has finished launching, by path.
    QHash<QString, bool> m_running;
    bool m_canHideWindows = false;
    QList<OpenRequest> m_openRequests;
    QStringList m_hideRequests;
    QList<std::pair<QString, qint64>> m_rememberedLaunches;
};
