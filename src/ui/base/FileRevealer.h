#pragma once
// Shows a file selected in the user's file manager: the file manager's
// org.freedesktop.FileManager1.ShowItems on the session bus, or, when no
// file manager answers there, the file's folder opened with its default
// handler. Never through a shell.
#include <QDBusConnection>
#include <QUrl>
#include <functional>

class FileRevealer {
public:
    using Opener = std::function<bool(const QUrl& url)>;

    // The session bus and QDesktopServices, unless given.
    FileRevealer();
    FileRevealer(QDBusConnection bus, Opener opener);

    // False at once when nothing exists at the path; the bus answers later.
    bool revealPath(const QString& path) const;

private:
    QDBusConnection m_bus;
    Opener m_opener;
};
