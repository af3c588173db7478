#pragma once
// The desktop the workspace tests run on, set up before GIO first looks at it
// (GIO keeps what it read about data folders and default applications):
// - system data is only the MIME database, so that the programs installed on
//   the machine never answer for a file type;
// - a copy of the test program in a folder whose name holds every character a
//   shell would act on;
// - "lw-test-opener.desktop", the default application of plain text files,
//   running that copy with the document's path.
#include <QString>
#include <QStringList>

namespace workspace_test {

// A folder name with spaces, quotes, '$', backticks, a backslash and a newline.
QString hostileName();
// A fresh folder named after the running test, below a hostile name.
QString hostileTestFolder();
// The copy of the test program, inside a hostile folder.
QString helperPath();
QString openerEntryPath();

// Copies the test program to the path, executable.
void installHelper(const QString& path);
// Writes an application desktop entry; exec is already an Exec value.
void writeDesktopEntry(const QString& path, const QString& name, const QString& exec,
    const QString& comment = {}, const QString& icon = {});
// The Exec value that runs the program with arguments, quoted for desktop entries.
QString execQuoted(const QString& program);

// What the test program wrote when started as program; empty when it has not
// run within a few seconds.
QStringList waitForRun(const QString& program);
void forgetRun(const QString& program);

// Two desktop entries of one program (a copy of the test program, staying)
// with other arguments: "term -e htop" and "term -e mc".
struct OneProgramEntries {
    QString program;
    QString htop;
    QString mc;
};
OneProgramEntries writeOneProgramEntries(const QString& folder);

// Writes an executable script that runs as long as the file stayPath exists
// (at most 30 s).
enum class ScriptLanguage { Shell, Perl };
void writeStayingScript(const QString& path, const QString& stayPath, ScriptLanguage language = ScriptLanguage::Shell);
// The processes of the user whose arguments are exactly these.
int processesRunning(const QStringList& commandLine);

} // namespace workspace_test
