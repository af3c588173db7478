#pragma once
// A window test: the service object on fakes with its live database, the
// application group, and a count of the saves.
#include "foundation/MHInternalNotifications.h"
#include "model/DBFileItem.h"
#include "model/DBLoginGroup.h"
#include "model/ObjectContext.h"
#include "shell/ModelEditing.h"
#include "support/ShellTest.h"
#include "ui/base/CommonObjects.h"

#include <QCoreApplication>
#include <QLocale>
#include <atomic>
#include <ostream>

// Readable failures.
inline void PrintTo(const QString& text, std::ostream* stream)
{
    *stream << '"' << text.toStdString() << '"';
}

class WindowTest : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        QLocale::setDefault(QLocale::c());
        start();
        context = helpers->managedObjectContext();
        ASSERT_NE(context, nullptr);
        group = context->getOrCreateApplicationLoginGroup();
        savesObserver = center.addObserver(MHInternalNotifications::MHDataDidSaveToDisk, nullptr, [this](const Notification&) { ++saves; });
    }

    // A file item at the end of the list (of the application group unless
    // another is given), known to the workspace; it is shown by its file name.
    DBFileItem* addFile(const QString& path, DBLoginGroup* into = nullptr)
    {
        workspace->addFile(path, { ItemPathTypeApplication, QFileInfo(path).fileName(), {}, {} });
        into = into ? into : group;
        return static_cast<DBFileItem*>(helpers->modelEditing()->createFileItemsFromData({ path }, into, items(into).size()).value(0));
    }
    DBLoginItem* addDelay(double seconds = 3, DBLoginGroup* into = nullptr)
    {
        into = into ? into : group;
        return helpers->modelEditing()->createDelayItemsFromData({ seconds }, into, items(into).size()).value(0);
    }
    QList<DBLoginItem*> items(DBLoginGroup* of = nullptr) const { return context->sortedLoginItemsForGroup(of ? of : group); }

    // The database is saved; what follows is an undo step of its own, with
    // its saves counted from 0.
    void startFresh()
    {
        QCoreApplication::processEvents();
        helpers->saveDataToDiskUsingChangeBackup(true);
        context->undoManager().removeAllActions();
        saves = 0;
    }

    CommonObjects commonObjects() { return CommonObjects::fromHelpers(*helpers); }
    // Hands a view or window controller the shared objects, the settings
    // and the notification centre of this test.
    template <typename Controller>
    void handObjectsTo(Controller& controller)
    {
        controller.setCommonObjects(commonObjects());
        controller.setUserDefaults(settings.get());
        controller.setNotificationCenter(&center);
    }

    ObjectContext* context = nullptr;
    DBLoginGroup* group = nullptr;
    std::atomic<int> saves { 0 };
    NotificationCenter::Token savesObserver;
};
