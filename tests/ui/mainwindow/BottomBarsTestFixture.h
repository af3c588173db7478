#pragma once
// The items page's bottom bars on the live database of a service object on
// fakes, with engine notifications posted from a worker thread.
#include "engine/ContextBatchInfo.h"
#include "foundation/MHExecuteNotifications.h"
#include "model/DBLoginGroup.h"
#include "model/DBLoginItem.h"
#include "model/ObjectContext.h"
#include "shell/ModelEditing.h"
#include "support/ShellTest.h"
#include "texts/LanternwickObject.h"
#include "texts/Localizator.h"
#include "ui/base/CommonObjects.h"
#include "ui/base/ViewControllerBase.h"
#include "ui/mainwindow/MainBottomBarsController.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QWidget>
#include <thread>

class BottomBarsTest : public ShellTest {
protected:
    struct Services : LanternwickObject {};

    void SetUp() override
    {
        ShellTest::SetUp();
        start();
        helpers->initializeUserDefaults();
        context = helpers->managedObjectContext();
        ASSERT_NE(context, nullptr);
        editing = helpers->modelEditing();
        group = context->getOrCreateApplicationLoginGroup();
        // As at the program's start: the engine and the live machine state exist.
        helpers->applicationContext();
        settings->setIsAutoCloseAfterItemsExecutionEnabled(true);
        settings->setBool(QStringLiteral("Tweaking.DefaultValues.IsLaunchParametersStatusEnabled"), true);
        services.setNotificationCenter(&center);
        services.setUserDefaults(settings.get());
        window.resize(500, 40);
        bars = std::make_unique<MainBottomBarsController>(CommonObjects::fromHelpers(*helpers), services, &window);
    }

    void TearDown() override
    {
        bars.reset();
        ShellTest::TearDown();
    }

    DBLoginItem* addFile(const QString& path)
    {
        workspace->addFile(path, { ItemPathTypeApplication, QFileInfo(path).fileName(), {}, {} });
        return editing->createFileItemsFromData({ path }, group, context->sortedLoginItemsForGroup(group).size()).value(0);
    }

    // Posted on a thread of its own, as the engine's queues do; the main
    // thread then handles what reached it.
    void post(const QString& name, const QVariantMap& userInfo = {})
    {
        std::thread worker([&] { center.post(name, nullptr, userInfo); });
        worker.join();
        QCoreApplication::processEvents();
    }
    void postAll(const QList<std::pair<QString, QVariantMap>>& notifications)
    {
        std::thread worker([&] {
            for (const auto& [name, userInfo] : notifications)
                center.post(name, nullptr, userInfo);
        });
        worker.join();
        QCoreApplication::processEvents();
    }

    static QVariantMap withBatch(std::shared_ptr<ContextBatchInfo> batch)
    {
        return { { ContextBatchInfo::userInfoKey, QVariant::fromValue(std::move(batch)) } };
    }
    static std::shared_ptr<ContextBatchInfo> autoCloseBatch(bool failed = false)
    {
        auto batch = std::make_shared<ContextBatchInfo>();
        batch->setIsExecutingAfterLaunch(true);
        batch->setIsAutoCloseScheduled(true);
        batch->setDidItemExecutionFail(failed);
        return batch;
    }
    static QVariantMap failure(const ObjectID& item, const QString& name, const QString& message)
    {
        namespace N = MHExecuteNotifications;
        return { { N::itemID, QVariant::fromValue(item) },
                 { N::itemDisplayName, name },
                 { N::itemType, int(LoginItemTypeFile) },
                 { N::error, QVariant::fromValue(Error(QStringLiteral("Lanternwick"), 1, message)) } };
    }

    ObjectContext* context = nullptr;
    ModelEditing* editing = nullptr;
    DBLoginGroup* group = nullptr;
    Services services;
    QWidget window;
    std::unique_ptr<MainBottomBarsController> bars;
};
