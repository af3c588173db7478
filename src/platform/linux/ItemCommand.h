#pragma once
// What a process runs when it runs an item: the item's program as written (a
// link to another program names a program of its own) with the arguments the
// item gives it before any file it opens ("xterm -e htop" and "xterm -e mc"
// are two items), and for an interpreter the script or entry the item hands
// it, never the interpreter alone. Desktop entries, Lanternwick's kept copies among them, are read
// with GIO; a script's "#!" line and "env" are followed as the kernel and env
// follow them.
#include <QString>
#include <QStringList>

class ProcessTable;

class ItemCommand {
public:
    // Empty for a document, a missing file, an entry GIO cannot start, and an
    // interpreter given nothing to run.
    static ItemCommand forItemAtPath(const QString& path);

    bool isEmpty() const { return m_program.isEmpty(); }
    // The files the kernel may name for a process of the program.
    QStringList programFiles() const;
    bool isRunByProcess(const ProcessTable& table, qint64 pid) const;

private:
    static ItemCommand forArguments(QStringList arguments, int depth);
    bool isProgramOfProcess(const QString& executable, const QString& firstArgument) const;

    // Absolute and cleaned, links kept.
    QString m_program;
    // The file the kernel names for a process of the program.
    QString m_runningFile;
    // The arguments that must open the process's own.
    QStringList m_arguments;
    // Told by what it runs alone, whichever link to it started it.
    bool m_isInterpreter = false;
};
