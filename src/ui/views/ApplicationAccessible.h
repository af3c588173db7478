#pragma once
// The application as screen readers find it: named by its display name
// ("Lanternwick"), as its windows are titled, rather than by the name of
// its program file. Its windows announce their new titles.
#include <QAccessibleObject>

class QApplication;

class ApplicationAccessible : public QAccessibleApplication {
public:
    explicit ApplicationAccessible(QApplication* application);

    // Makes the interface the one of the application; with the application,
    // also installs the WindowTitleAnnouncer.
    static void install();

    QString text(QAccessible::Text kind) const override;
};
