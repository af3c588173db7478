#pragma once
// Where the application's own files are. Installed, the program sits in
// <prefix>/bin/, the service and the launcher in <prefix>/libexec/lanternwick/ and the
// resources in <prefix>/share/lanternwick/; run from the build tree, the
// resources come from the source tree and the service from the build's bin/.
#include <QString>

class ApplicationBundle {
public:
    // executableDirectory is the folder of the running program.
    explicit ApplicationBundle(QString executableDirectory);
    // The bundle of the running program.
    static ApplicationBundle current();

    QString resourcesPath() const;
    // Full path of a resource file; empty when it does not exist.
    QString pathForResource(const QString& name) const;
    QString keelhouseProgramPath() const;
    // The program that starts desktop entries for the application.
    QString launcherProgramPath() const;

    // The name without its trailing version digits and without blanks:
    // "Lanternwick2" and "Lanternwick 2" give "Lanternwick".
    static QString cleanApplicationName(const QString& applicationName);

private:
    QString installedPath(const QString& relativePath) const;
    // A program of ours in libexec/lanternwick/, beside the executable, or in the build's bin/.
    QString helperProgramPath(const QString& name) const;

    QString m_executableDirectory;
};
