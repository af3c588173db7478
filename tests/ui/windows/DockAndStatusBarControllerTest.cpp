// Task bar and tray: the stored mode at start, the fallback without a tray,
// one tray icon however often it is added, and its image following the
// engine's notifications posted on worker threads.
#include "FakeStatusBar.h"
#include "support/PaneTest.h"

#include "foundation/MHExecuteNotifications.h"
#include "ui/windows/DockAndStatusBarController.h"

#include <QMenu>
#include <thread>

namespace {

class DockAndStatusBarTest : public PaneTest {
protected:
    DockAndStatusBarController& makeController()
    {
        controller = std::make_unique<DockAndStatusBarController>(tray);
        equip(*controller);
        return *controller;
    }
    // Posts from a worker thread, as the engine's queues do, then lets the
    // main thread handle what was queued.
    void postFromWorker(QLatin1String name)
    {
        std::thread worker([&] { center.post(name); });
        worker.join();
        processEvents();
    }
    qint64 image() const { return controller->statusItem()->image().cacheKey(); }

    FakeStatusBar tray;
    QMenu menu;
    std::unique_ptr<DockAndStatusBarController> controller;
};

TEST_F(DockAndStatusBarTest, StartsInTheStoredModeAndFallsBackToTheTaskBarWithoutATray)
{
    struct Case {
        const char* name;
        quint64 mode;
        bool trayAvailable;
        int shown;
    };
    const QList<Case> cases {
        { "task bar", 0, true, 0 },
        { "tray", 1, true, 1 },
        { "tray without a tray", 1, false, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        settings->setApplicationRunMode(c.mode);
        tray.available = c.trayAvailable;
        makeController().initializeDockAndStatusBarWithMenu(&menu);
        EXPECT_EQ(tray.shown, c.shown);
        EXPECT_EQ(controller->statusMenu(), &menu);
        if (c.shown) {
            EXPECT_EQ(tray.lastMenu, &menu);
        }
        controller.reset();
        EXPECT_EQ(tray.shown, 0);
    }
}

TEST_F(DockAndStatusBarTest, TheTrayImagesAreDrawnWithTheFirstTrayIconOnly)
{
    settings->setApplicationRunMode(0);
    makeController().initializeDockAndStatusBarWithMenu(&menu);
    postFromWorker(MHExecuteNotifications::MHExecuteDidStartNotification);
    EXPECT_TRUE(controller->menubarNormalImage().isNull());
    EXPECT_TRUE(controller->menubarExecutingImage().isNull());
    EXPECT_TRUE(controller->menubarAutoClosingImage().isNull());

    settings->setApplicationRunMode(1);
    controller->changeToMenubarMode();
    EXPECT_FALSE(controller->menubarNormalImage().isNull());
    EXPECT_EQ(image(), controller->menubarNormalImage().cacheKey());
    // Drawn once: a tray icon added again shows the same images.
    const qint64 executing = controller->menubarExecutingImage().cacheKey();
    controller->changeToDockMode();
    controller->changeToMenubarMode();
    EXPECT_EQ(controller->menubarExecutingImage().cacheKey(), executing);
}

TEST_F(DockAndStatusBarTest, AddingTheTrayIconTwiceKeepsOneIconAndOneSetOfObservations)
{
    settings->setApplicationRunMode(1);
    makeController().initializeDockAndStatusBarWithMenu(&menu);
    controller->addStatusItem();
    EXPECT_EQ(tray.added, 1);
    postFromWorker(MHExecuteNotifications::MHExecuteAutoCloseDidStartNotification);
    EXPECT_EQ(tray.imageChanges, 1);
}

TEST_F(DockAndStatusBarTest, TheImageFollowsTheEngine)
{
    settings->setApplicationRunMode(1);
    makeController().initializeDockAndStatusBarWithMenu(&menu);
    const qint64 normal = controller->menubarNormalImage().cacheKey();
    const qint64 executing = controller->menubarExecutingImage().cacheKey();
    const qint64 autoClosing = controller->menubarAutoClosingImage().cacheKey();
    EXPECT_EQ(image(), normal);

    struct Step {
        QLatin1String notification;
        qint64 image;
    };
    const QList<Step> steps {
        { MHExecuteNotifications::MHExecuteDelayDidStartNotification, executing },
        { MHExecuteNotifications::MHExecuteDidCancelNotification, normal },
        { MHExecuteNotifications::MHExecuteDidStartNotification, executing },
        { MHExecuteNotifications::MHExecuteDidEndNotification, normal },
        { MHExecuteNotifications::MHExecuteAutoCloseDidStartNotification, autoClosing },
        { MHExecuteNotifications::MHExecuteAutoCloseDidEndNotification, normal },
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.notification.data());
        postFromWorker(step.notification);
        EXPECT_EQ(image(), step.image);
    }
}

TEST_F(DockAndStatusBarTest, RunImagesNeedTheStoredTrayModeAutoCloseImagesDoNot)
{
    settings->setApplicationRunMode(1);
    makeController().initializeDockAndStatusBarWithMenu(&menu);
    settings->setApplicationRunMode(0);
    postFromWorker(MHExecuteNotifications::MHExecuteDidStartNotification);
    EXPECT_EQ(image(), controller->menubarNormalImage().cacheKey());
    postFromWorker(MHExecuteNotifications::MHExecuteAutoCloseDidStartNotification);
    EXPECT_EQ(image(), controller->menubarAutoClosingImage().cacheKey());
}

TEST_F(DockAndStatusBarTest, SwitchingFromTheTaskBarToTheTrayKeepsTheTrayObserving)
{
    settings->setApplicationRunMode(0);
    makeController().initializeDockAndStatusBarWithMenu(&menu);
    settings->setApplicationRunMode(1);
    controller->changeToMenubarMode();
    ASSERT_NE(controller->statusItem(), nullptr);
    postFromWorker(MHExecuteNotifications::MHExecuteDidStartNotification);
    EXPECT_EQ(image(), controller->menubarExecutingImage().cacheKey());

    controller->changeToDockMode();
    EXPECT_EQ(controller->statusItem(), nullptr);
    postFromWorker(MHExecuteNotifications::MHExecuteDidEndNotification);
    EXPECT_EQ(tray.shown, 0);
}

TEST_F(DockAndStatusBarTest, AnImageChangeQueuedForAControllerThatIsGoneIsDropped)
{
    settings->setApplicationRunMode(1);
    makeController().initializeDockAndStatusBarWithMenu(&menu);
    std::thread worker([&] { center.post(MHExecuteNotifications::MHExecuteAutoCloseDidStartNotification); });
    worker.join();
    controller.reset();
    processEvents();
    EXPECT_EQ(tray.imageChanges, 0);
}

} // namespace
