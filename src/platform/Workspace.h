#pragma once
// The desktop as the engine and the shell see it: opening items, the programs
// that run, and what a file on disk is.
#include "platform/ItemPathType.h"

#include <QList>
#include <QString>
#include <functional>
#include <mutex>

class Workspace {
public:
    struct LaunchOptions {
        // Best effort: not every desktop lets a launcher keep new windows hidden.
        bool hidden = false;
        // Leave the focus where it is: the program gets no activation token.
        bool withoutActivation = false;
    };

    struct LaunchResult {
        bool succeeded = false;
        // Why opening failed; empty on success.
        QString errorDescription;

        static LaunchResult success() { return { true, {} }; }
        static LaunchResult failure(const QString& description) { return { false, description }; }
    };

    struct RunningApplication {
        qint64 pid = 0;
        // Canonical path of the running executable.
        QString executablePath;
        // The desktop entry or executable we launched it from; empty when we
        // did not launch it.
        QString launchedFromPath;
        bool isFinishedLaunching = false;
    };

    enum class ApplicationState { NotRunning, Launching, FinishedLaunching };

    // Receives the path of the application just launched: its desktop entry
    // or executable (for a document, the entry of the program that opens it).
    using DidLaunchHandler = std::function<void(const QString& applicationPath)>;

    virtual ~Workspace();

    // Starts opening the item and returns without waiting for the program to
    // finish starting. A missing file, a file nothing opens and a program that
    // cannot be started are failures.
    virtual LaunchResult openItemAtPath(const QString& path, LaunchOptions options) = 0;

    // The processes of the current user.
    virtual QList<RunningApplication> runningApplications() const = 0;
    // Whether the application an item path names (an executable, or a desktop
    // entry through the program it runs) is running, and settled.
    virtual ApplicationState applicationStateForItemAtPath(const QString& path) const = 0;

    virtual bool isMissingItemAtPath(const QString& path) const = 0;
    virtual ItemPathType typeForItemAtPath(const QString& path) const = 0;
    virtual QString displayNameForItemAtPath(const QString& path) const = 0;
    // The kind of file in words; empty for a missing file or when it cannot be told.
    virtual QString descriptionForItemAtPath(const QString& path) const = 0;
    // A freedesktop icon name (or an icon file path from a desktop entry);
    // empty for a missing file.
    virtual QString iconNameForItemAtPath(const QString& path) const = 0;

    // Called on the launching thread after each successful launch; an empty
    // handler stops the calls.
    void setDidLaunchHandler(DidLaunchHandler handler);

protected:
    void notifyDidLaunch(const QString& applicationPath) const;

private:
    mutable std::mutex m_handlerMutex;
    DidLaunchHandler m_didLaunchHandler;
};
