#pragma once
// The desktop as the engine and the shell see it: opening items, the programs
// that run, and what a file on disk is.
#include "platform/ItemPathType.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <mutex>

class Workspace {
public:
    struct LaunchOptions {
        // Best effort: on X11 the program's windows are minimised as they
        // show, for a while; elsewhere they open shown.
        bool hidden = false;
        // Leave the focus where it is: the program gets no activation token.
        bool withoutActivation = false;
    };

    struct LaunchResult {
        bool succeeded = false;
        // Why opening failed; empty on success.
        QString errorDescription;
        // The process started, where it is known: its id and its start in
        // clock ticks after boot (-1 when it ended before it could be read).
        qint64 pid = 0;
        qint64 startTicks = -1;

        static LaunchResult success(qint64 pid = 0, qint64 startTicks = -1) { return { true, {}, pid, startTicks }; }
        static LaunchResult failure(const QString& description) { return { false, description, 0, -1 }; }
    };

    enum class ApplicationState { NotRunning, Launching, FinishedLaunching };

    // What runs: a judging pass asks it about any number of items and the
    // processes are read once; a run keeps it and looks again before each
    // step, paying only for what began or ended. Used by one thread at a time.
    class RunningItems {
    public:
        virtual ~RunningItems();
        // Looks again at what runs.
        virtual void refresh() = 0;
        // Whether a process of the user runs the item (an executable, a script,
        // or a desktop entry through the command it runs), and whether it has
        // finished launching.
        virtual ApplicationState stateForItemAtPath(const QString& path) const = 0;
        // The items a run will ask about, in the order it will: what it takes
        // to answer may be read ahead, off the asking thread.
        virtual void expectItems(const QStringList& /*paths*/) {}
    };

    // Receives the path of the application just launched: its desktop entry
    // or executable (for a document, the entry of the program that opens it).
    using DidLaunchHandler = std::function<void(const QString& applicationPath)>;

    virtual ~Workspace();

    // Starts opening the item and returns without waiting for the program to
    // finish starting. A missing file, a file nothing opens and a program that
    // cannot be started are failures.
    virtual LaunchResult openItemAtPath(const QString& path, LaunchOptions options) = 0;

    // The items a run is about to open, in the order it will: what opening
    // one takes may be read ahead, off the opening thread. What was prepared
    // before and not opened is dropped.
    virtual void prepareToOpen(const QStringList& /*paths*/) {}

    // A snapshot for one judging pass, used while the workspace lives.
    virtual std::unique_ptr<RunningItems> runningItems() const = 0;
    // A process an earlier start of the program launched from the path: it
    // is known as the item's, like the processes this workspace launched.
    virtual void rememberLaunch(const QString& path, qint64 pid, qint64 startTicks) = 0;
    // A pass of its own for one item.
    ApplicationState applicationStateForItemAtPath(const QString& path) const;
    // Minimises for a while the windows that the programs launched from the
    // path show, now or soon. False where the desktop lets no launcher hide
    // the windows of another program.
    virtual bool hideWindowsOfApplication(const QString& applicationPath) = 0;

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
