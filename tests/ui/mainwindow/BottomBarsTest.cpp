// The bars under the items: their status lines as the engine reports a run
// from its own threads, which bar shows when, and the errors of the last run.
#include "BottomBarsTestFixture.h"
#include "model/DBFileItem.h"
#include "model/ExecutionValidationParameters.h"
#include "ui/base/AnimatedPlaceholderContext.h"
#include "ui/mainwindow/MainAutoCloseBottomBarViewController.h"
#include "ui/mainwindow/MainDefaultBottomBarViewController.h"
#include "ui/mainwindow/MainExecuteBottomBarViewController.h"
#include "ui/views/ElidingLabel.h"
#include "ui/views/StatusLine.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

namespace N = MHExecuteNotifications;

Notification notification(const QString& name, const QVariantMap& userInfo)
{
    return { name, nullptr, userInfo };
}

TEST_F(BottomBarsTest, StatusLinesFollowAScriptedRun)
{
    MainExecuteBottomBarViewController* execute = bars->executeBottomBarViewController();
    const Localizator& texts = Localizator::shared();
    const QVariantMap countdown { { N::remainingTime, 14.2 } };
    const QVariantMap launch { { N::itemDisplayName, "Mail" }, { N::itemType, int(LoginItemTypeFile) } };
    const QVariantMap wait { { N::itemDisplayName, "Wait" }, { N::itemType, int(LoginItemTypeWaitPrevious) }, { N::previousItemDisplayName, "Mail" } };
    const QVariantMap delay { { N::itemDisplayName, "3 s" }, { N::itemType, int(LoginItemTypeDelay) }, { N::remainingTime, 3.0 } };
    const QVariantMap tick { { N::remainingTime, 2.0 } };
    const QVariantMap marker { { N::itemDisplayName, "If launched" }, { N::itemType, int(LoginItemTypeConditionalPrevious) } };

    const struct {
        QString name;
        QVariantMap userInfo;
        QString line;
    } steps[] = {
        { N::MHExecuteDelayDidStartNotification, countdown, "Waiting for execution..." },
        { N::MHExecuteDelayDidTickNotification, countdown,
          texts.executeInfoStringForDelayDidTick(notification(N::MHExecuteDelayDidTickNotification, countdown)) },
        { N::MHExecuteDelayDidEndNotification, {}, "Starting execution..." },
        { N::MHExecuteDidStartNotification, {}, "Starting execution..." },
        { N::MHExecuteDidStartItemNotification, launch, "Launching Mail..." },
        { N::MHExecuteDidStartItemNotification, wait, "Waiting for Mail to launch..." },
        { N::MHExecuteDidStartItemNotification, delay,
          texts.executeInfoStringForItemDidTick(notification(N::MHExecuteDidTickItemNotification, delay)) },
        { N::MHExecuteDidTickItemNotification, tick,
          texts.executeInfoStringForItemDidTick(notification(N::MHExecuteDidTickItemNotification, tick)) },
        // A conditional-previous item's start has its status line too.
        { N::MHExecuteDidStartItemNotification, marker,
          texts.executeInfoStringForItemDidStart(notification(N::MHExecuteDidStartItemNotification, marker)) },
        { N::MHExecuteDidEndNotification, {}, "Finished..." },
    };
    for (const auto& step : steps) {
        post(step.name, step.userInfo);
        SCOPED_TRACE(step.name.toStdString());
        EXPECT_EQ(execute->infoMessage(), step.line);
        EXPECT_EQ(execute->infoLabel()->text(), step.line);
    }
    EXPECT_TRUE(steps[1].line.startsWith("Launching items in "));
    EXPECT_NE(steps[6].line, steps[7].line);
}

// Counts the layout requests that reach a widget.
class LayoutRequests : public QObject {
public:
    explicit LayoutRequests(QWidget* widget) { widget->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        count += event->type() == QEvent::LayoutRequest;
        return false;
    }
};

// A run changes its status line at every step and every second of a delay:
// each new line is painted where the old one was, without laying out the
// window, and a name longer than the bar does not widen the window.
TEST_F(BottomBarsTest, ANewStatusLineDoesNotLayOutTheWindow)
{
    MainExecuteBottomBarViewController* execute = bars->executeBottomBarViewController();
    post(N::MHExecuteDidStartNotification);
    bars->bottomBarPlaceholderContext()->finishSlide();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QCoreApplication::processEvents();
    const int minimumWidth = window.minimumSizeHint().width();

    LayoutRequests requests(&window);
    const QString longName = QString("Mail ").repeated(40);
    for (const QString& name : { QString("Mail"), QString("Calendar"), longName }) {
        post(N::MHExecuteDidStartItemNotification, { { N::itemDisplayName, name }, { N::itemType, int(LoginItemTypeFile) } });
        EXPECT_EQ(execute->infoLabel()->text(), "Launching " + name + "...");
    }
    post(N::MHExecuteDidStartItemNotification, { { N::itemDisplayName, "3 s" }, { N::itemType, int(LoginItemTypeDelay) }, { N::remainingTime, 3.0 } });
    for (double remaining : { 2.0, 1.0 })
        post(N::MHExecuteDidTickItemNotification, { { N::remainingTime, remaining } });
    post(N::MHExecuteDidStartItemNotification, { { N::itemDisplayName, longName }, { N::itemType, int(LoginItemTypeFile) } });
    const ElidingLabel* shown = execute->infoLabel()->label();
    EXPECT_TRUE(QTest::qWaitFor([&] { return shown->fullText() == "Launching " + longName + "..."; }));
    EXPECT_EQ(requests.count, 0);
    EXPECT_EQ(window.minimumSizeHint().width(), minimumWidth);
}

TEST_F(BottomBarsTest, AutoCloseLines)
{
    MainAutoCloseBottomBarViewController* autoClose = bars->autoCloseBottomBarViewController();
    EXPECT_EQ(autoClose->infoMessage(), "Checking for update...");
    post(N::MHExecuteAutoCloseDidStartNotification, { { N::remainingTime, 10.0 } });
    EXPECT_TRUE(autoClose->infoMessage().startsWith("Closing in "));
    const QString started = autoClose->infoMessage();
    post(N::MHExecuteAutoCloseDidTickNotification, { { N::remainingTime, 9.0 } });
    EXPECT_TRUE(autoClose->infoMessage().startsWith("Closing in "));
    EXPECT_NE(autoClose->infoMessage(), started);
    post(N::MHExecuteAutoCloseDidEndNotification);
    EXPECT_EQ(autoClose->infoLabel()->text(), "Closing...");
}

TEST_F(BottomBarsTest, RunWithAutoCloseKeepsTheExecuteBarUntilTheAutoCloseStarts)
{
    addFile("/usr/bin/mail");
    QSignalSpy ends(bars.get(), &MainBottomBarsController::executionDidEnd);
    EXPECT_EQ(bars->currentBottomBar(), bars->defaultBottomBarViewController());

    post(N::MHExecuteDelayDidStartNotification, withBatch(autoCloseBatch()));
    EXPECT_EQ(bars->currentBottomBar(), bars->executeBottomBarViewController());
    EXPECT_TRUE(bars->isExecutionInProgress());
    post(N::MHExecuteDidStartNotification, withBatch(autoCloseBatch()));
    EXPECT_EQ(bars->currentBottomBar(), bars->executeBottomBarViewController());

    post(N::MHExecuteDidEndNotification, withBatch(autoCloseBatch()));
    EXPECT_EQ(bars->currentBottomBar(), bars->executeBottomBarViewController());
    EXPECT_FALSE(bars->isExecutionInProgress());
    EXPECT_EQ(ends.count(), 1);
    post(N::MHExecuteAutoCloseDidStartNotification, { { N::remainingTime, 10.0 } });
    EXPECT_EQ(bars->currentBottomBar(), bars->autoCloseBottomBarViewController());
    post(N::MHExecuteDidCancelNotification);
    EXPECT_EQ(bars->currentBottomBar(), bars->defaultBottomBarViewController());
}

TEST_F(BottomBarsTest, RunsWithoutAnAutoCloseToComeReturnToTheDefaultBar)
{
    addFile("/usr/bin/mail");
    const auto runEndingWith = [&](const QVariantMap& endInfo) {
        post(N::MHExecuteDidStartNotification);
        post(N::MHExecuteDidEndNotification, endInfo);
        return bars->currentBottomBar();
    };
    ViewControllerBase* const defaultBar = bars->defaultBottomBarViewController();
    EXPECT_EQ(runEndingWith({}), defaultBar) << "no batch info";
    EXPECT_EQ(runEndingWith(withBatch(std::make_shared<ContextBatchInfo>())), defaultBar) << "no auto close planned";
    EXPECT_EQ(runEndingWith(withBatch(autoCloseBatch(true))), defaultBar) << "an item failed";
    settings->setIsAutoCloseAfterItemsExecutionEnabled(false);
    EXPECT_EQ(runEndingWith(withBatch(autoCloseBatch())), defaultBar) << "switched off during the run";

    // Switched off while the bar waits for the auto close.
    settings->setIsAutoCloseAfterItemsExecutionEnabled(true);
    EXPECT_EQ(runEndingWith(withBatch(autoCloseBatch())), bars->executeBottomBarViewController());
    settings->setIsAutoCloseAfterItemsExecutionEnabled(false);
    EXPECT_EQ(bars->currentBottomBar(), defaultBar);

    // Nothing to close: the list is empty.
    settings->setIsAutoCloseAfterItemsExecutionEnabled(true);
    editing->deleteLoginItems(context->sortedLoginItemsForGroup(group), group);
    EXPECT_EQ(runEndingWith(withBatch(autoCloseBatch())), defaultBar);
}

TEST_F(BottomBarsTest, FailuresAreListedByBothBarsUntilTheNextRun)
{
    DBLoginItem* mail = addFile("/usr/bin/mail");
    MainDefaultBottomBarViewController* defaultBar = bars->defaultBottomBarViewController();
    MainAutoCloseBottomBarViewController* autoClose = bars->autoCloseBottomBarViewController();
    EXPECT_FALSE(defaultBar->errorsButton()->isVisibleTo(defaultBar));

    post(N::MHExecuteDidStartNotification, withBatch(autoCloseBatch()));
    post(N::MHExecuteDidFailItemNotification, failure(mail->objectID(), "Mail", "Could not open Mail"));
    post(N::MHExecuteDidFailItemNotification, failure(ObjectID(), "Gone", "Could not open Gone"));
    post(N::MHExecuteDidEndNotification, withBatch(autoCloseBatch(true)));

    EXPECT_EQ(bars->currentBottomBar(), defaultBar);
    for (ExecutionBottomBarViewControllerBase* bar : { static_cast<ExecutionBottomBarViewControllerBase*>(defaultBar),
                                                       static_cast<ExecutionBottomBarViewControllerBase*>(autoClose) }) {
        EXPECT_TRUE(bar->didLastExecutionFail());
        EXPECT_TRUE(bar->errorsButton()->isVisibleTo(bar));
        const QList<ExecutionErrorRecord>& records = bar->errorsViewController()->executionErrors()->records();
        ASSERT_EQ(records.size(), 2);
        EXPECT_EQ(records[0].itemDisplayName, "Mail");
        EXPECT_EQ(records[0].itemPath, "/usr/bin/mail");
        EXPECT_EQ(records[0].errorMessage, "Could not open Mail");
        EXPECT_TRUE(records[1].itemPath.isEmpty());
    }

    // The next run starts with empty lists.
    post(N::MHExecuteDelayDidStartNotification);
    EXPECT_FALSE(defaultBar->didLastExecutionFail());
    EXPECT_EQ(defaultBar->errorsViewController()->executionErrors()->rowCount(), 0);
    EXPECT_EQ(autoClose->errorsViewController()->executionErrors()->rowCount(), 0);
}

TEST_F(BottomBarsTest, AFailureOfTheFirstItemSurvivesTheSecondStart)
{
    DBLoginItem* mail = addFile("/usr/bin/mail");
    // Everything arrives before the main thread gets to it.
    postAll({ { N::MHExecuteDelayDidStartNotification, {} },
              { N::MHExecuteDelayDidEndNotification, {} },
              { N::MHExecuteDidStartNotification, {} },
              { N::MHExecuteDidStartItemNotification, { { N::itemID, QVariant::fromValue(mail->objectID()) } } },
              { N::MHExecuteDidFailItemNotification, failure(mail->objectID(), "Mail", "Could not open Mail") },
              { N::MHExecuteDidEndItemNotification, { { N::itemID, QVariant::fromValue(mail->objectID()) } } } });
    EXPECT_EQ(bars->defaultBottomBarViewController()->errorsViewController()->executionErrors()->rowCount(), 1);
    EXPECT_EQ(bars->autoCloseBottomBarViewController()->errorsViewController()->executionErrors()->rowCount(), 1);
    EXPECT_TRUE(bars->defaultBottomBarViewController()->didLastExecutionFail());
}

TEST_F(BottomBarsTest, CancelDuringTheCountdown)
{
    DBLoginItem* mail = addFile("/usr/bin/mail");
    QSignalSpy executing(bars.get(), &MainBottomBarsController::itemExecutionChanged);
    QSignalSpy ends(bars.get(), &MainBottomBarsController::executionDidEnd);
    post(N::MHExecuteDelayDidStartNotification, { { N::remainingTime, 15.0 } });
    post(N::MHExecuteDidStartItemNotification, { { N::itemID, QVariant::fromValue(mail->objectID()) } });
    ASSERT_EQ(executing.count(), 1);
    EXPECT_EQ(executing.takeFirst(), (QVariantList { QVariant::fromValue(mail->objectID()), true }));

    // The cancel button asks; the engine answers with its notification.
    QSignalSpy cancels(bars->executeBottomBarViewController(), &MainExecuteBottomBarViewController::cancelRequested);
    bars->executeBottomBarViewController()->cancelButton()->click();
    EXPECT_EQ(cancels.count(), 1);
    post(N::MHExecuteDidCancelNotification);
    EXPECT_EQ(bars->currentBottomBar(), bars->defaultBottomBarViewController());
    EXPECT_FALSE(bars->isExecutionInProgress());
    EXPECT_EQ(ends.count(), 1);
    EXPECT_EQ(bars->launchParameters(), nullptr);
}

TEST_F(BottomBarsTest, LiveStatusDuringARunOnlyWhenTheSettingsAllowIt)
{
    addFile("/usr/bin/mail");
    QSignalSpy changes(bars.get(), &MainBottomBarsController::rowParametersChanged);
    post(N::MHExecuteDelayDidStartNotification);
    ASSERT_NE(bars->launchParameters(), nullptr);
    EXPECT_TRUE(bars->isStatusDisplayOn());
    EXPECT_EQ(bars->rowParameters(), bars->launchParameters());
    EXPECT_EQ(bars->launchParameters()->availableItems(), context->sortedLoginItemsForGroup(group));
    // The second start keeps the same snapshot.
    const std::shared_ptr<ExecutionValidationParameters> first = bars->launchParameters();
    post(N::MHExecuteDidStartNotification);
    EXPECT_EQ(bars->launchParameters(), first);
    post(N::MHExecuteAutoCloseDidStartNotification);
    EXPECT_EQ(bars->launchParameters(), nullptr);
    EXPECT_FALSE(bars->isStatusDisplayOn());
    EXPECT_EQ(changes.count(), 2);
    post(N::MHExecuteDidCancelNotification);

    settings->setBool(QStringLiteral("Tweaking.DefaultValues.IsLaunchParametersStatusEnabled"), false);
    post(N::MHExecuteDelayDidStartNotification);
    EXPECT_EQ(bars->currentBottomBar(), bars->executeBottomBarViewController());
    EXPECT_EQ(bars->launchParameters(), nullptr);
    EXPECT_FALSE(bars->isStatusDisplayOn());
}

TEST_F(BottomBarsTest, TheErrorListKeepsWhatItWasGiven)
{
    DBLoginItem* mail = addFile("/usr/bin/mail");
    ExecutionErrorsViewController* errors = bars->defaultBottomBarViewController()->errorsViewController();
    QStringList revealed;
    errors->setRevealer([&](const QString& path) {
        revealed.append(path);
        return true;
    });
    const ObjectID mailID = mail->objectID();
    errors->addExecutionErrorFromNotification(notification(N::MHExecuteDidFailItemNotification, failure(mailID, "Mail", "No luck")));
    editing->deleteLoginItems({ mail }, group);
    errors->addExecutionErrorFromNotification(notification(N::MHExecuteDidFailItemNotification, failure(mailID, "Mail", "No luck")));
    // Without an error nothing but the name.
    errors->addExecutionErrorFromNotification(notification(N::MHExecuteDidFailItemNotification, { { N::itemDisplayName, "Plain" } }));

    ExecutionErrorsModel* model = errors->executionErrors();
    ASSERT_EQ(model->rowCount(), 3);
    EXPECT_EQ(model->index(0, ExecutionErrorsModel::NameColumn).data().toString(), "Mail");
    EXPECT_EQ(model->index(0, ExecutionErrorsModel::ErrorColumn).data().toString(), "No luck");
    EXPECT_EQ(model->index(1, ExecutionErrorsModel::ErrorColumn).data().toString(), "No luck");
    EXPECT_FALSE(model->records()[2].error.has_value());
    EXPECT_TRUE(model->index(2, ExecutionErrorsModel::ErrorColumn).data().toString().isEmpty());

    EXPECT_TRUE(errors->selectItemInFinder(0));
    EXPECT_FALSE(errors->selectItemInFinder(1));
    EXPECT_FALSE(errors->selectItemInFinder(3));
    EXPECT_FALSE(errors->selectItemInFinder(-1));
    EXPECT_EQ(revealed, QStringList { "/usr/bin/mail" });
}

TEST_F(BottomBarsTest, SystemItemsButton)
{
    MainDefaultBottomBarViewController* defaultBar = bars->defaultBottomBarViewController();
    EXPECT_EQ(defaultBar->systemItemsButtonTitle(), "No New System Item");
    EXPECT_FALSE(defaultBar->systemItemsButton()->isEnabled());
    defaultBar->setIsAtLeastOneSystemItemAvailable(true);
    EXPECT_EQ(defaultBar->systemItemsButton()->text(), "System Items");
    QSignalSpy requests(defaultBar, &MainDefaultBottomBarViewController::systemItemsRequested);
    defaultBar->systemItemsButton()->click();
    EXPECT_EQ(requests.count(), 1);
}

} // namespace
