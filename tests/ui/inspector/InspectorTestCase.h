#pragma once
// A service object on fakes with a loaded empty database, its editing
// operations, and the saves counted from the save notification.
#include "foundation/MHInternalNotifications.h"
#include "model/DBStartupCondition.h"
#include "model/ObjectContext.h"
#include "shell/ModelEditing.h"
#include "support/ShellTest.h"
#include "ui/base/CommonObjects.h"
#include "ui/inspector/RepresentedObject.h"

#include <QCoreApplication>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* stream)
{
    *stream << '"' << text.toStdString() << '"';
}

class InspectorTestCase : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        ApplicationHelpers& started = start();
        context = started.managedObjectContext();
        ASSERT_NE(context, nullptr);
        common = CommonObjects::fromHelpers(started);
        editing = started.modelEditing();
        saveToken = center.addObserver(MHInternalNotifications::MHDataDidSaveToDisk, nullptr, [this](const Notification&) { ++saves; });
    }

    // What the set-up made is one pass; the test's steps start afresh.
    void startFresh()
    {
        context->processPendingChanges();
        QCoreApplication::processEvents();
        context->undoManager().removeAllActions();
        helpers->saveDataToDiskUsingChangeBackup(true);
        saves = 0;
    }

    // Network conditions named by the letters, in this order.
    QList<DBStartupCondition*> namedConditions(const QString& letters)
    {
        QList<DBStartupCondition*> made;
        for (const QChar letter : letters) {
            DBStartupCondition* condition = editing->createNetworkStartupConditionAtIndex(made.size() + 1000);
            condition->setConditionName(QString(letter));
            made.append(condition);
        }
        return made;
    }

    QString conditionOrder() const
    {
        QStringList names;
        for (const DBStartupCondition* condition : context->sortedStartupConditions())
            names << condition->conditionName();
        return names.join(' ');
    }

    UndoManager& undo() const { return context->undoManager(); }

    ObjectContext* context = nullptr;
    ModelEditing* editing = nullptr;
    CommonObjects common;
    int saves = 0;
    NotificationCenter::Token saveToken;
};
