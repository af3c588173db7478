// Swapping the child controllers of a placeholder: the order of resigning and
// activating, what stays in the placeholder, and the completions of slides.
#include "support/ShellTest.h"
#include "ui/base/AnimatedPlaceholderContext.h"
#include "ui/base/StaticPlaceholderContext.h"
#include "ui/base/ViewControllerBase.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

// Records its activation changes in a shared journal.
class JournalController : public ViewControllerBase {
public:
    JournalController(QString name, QStringList& journal)
        : m_journal(journal)
    {
        setObjectName(name);
    }

    void viewControllerDidBecomeActive() override
    {
        ViewControllerBase::viewControllerDidBecomeActive();
        m_journal.append(objectName() + " active");
    }
    void viewControllerWillResignActive() override
    {
        ViewControllerBase::viewControllerWillResignActive();
        m_journal.append(objectName() + " resigned");
    }

    QLineEdit* field = nullptr;

protected:
    void awakeFromNib() override
    {
        auto* layout = new QVBoxLayout(this);
        field = new QLineEdit(this);
        layout->addWidget(field);
    }

private:
    QStringList& m_journal;
};

class PlaceholderContextsTest : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        ApplicationHelpers& started = start();
        ASSERT_NE(started.managedObjectContext(), nullptr);
        for (JournalController* controller : {&first, &second})
            controller->setCommonObjects(CommonObjects::fromHelpers(started));
        window.resize(300, 200);
        placeholder = new QWidget(&window);
        placeholder->setObjectName("placeholder");
        placeholder->setGeometry(0, 0, 300, 200);
        window.show();
    }

    QStringList journal;
    // Owners declare the controllers before their contexts.
    JournalController first { "first", journal };
    JournalController second { "second", journal };
    QWidget window;
    QWidget* placeholder = nullptr;
};

TEST_F(PlaceholderContextsTest, SwapsResignTheOldControllerBeforeActivatingTheNew)
{
    AnimatedPlaceholderContext context(placeholder);
    context.replaceViewControllerWith(&first);
    context.replaceViewControllerWith(&second);
    EXPECT_EQ(journal, QStringList({"first active", "first resigned", "second active"}));
    EXPECT_EQ(context.currentViewController(), &second);
    EXPECT_EQ(second.parentController(), &context);
    EXPECT_EQ(first.parentController(), nullptr);
    EXPECT_EQ(first.parentWidget(), nullptr);
    EXPECT_EQ(second.parentWidget(), placeholder);
    EXPECT_EQ(second.geometry(), placeholder->rect());
    EXPECT_TRUE(second.field->hasFocus() || !window.isActiveWindow());

    // The same controller again changes nothing.
    journal.clear();
    context.replaceViewControllerWith(&second);
    EXPECT_TRUE(journal.isEmpty());

    // Nil empties the placeholder.
    context.replaceViewControllerWith(nullptr);
    EXPECT_EQ(journal, QStringList({"second resigned"}));
    EXPECT_EQ(context.currentViewController(), nullptr);
    EXPECT_TRUE(placeholder->findChildren<QWidget*>(Qt::FindDirectChildrenOnly).isEmpty());
}

TEST_F(PlaceholderContextsTest, ChildrenFollowThePlaceholderSizeExceptInThePlainContext)
{
    StaticPlaceholderContext fixed(placeholder);
    fixed.replaceViewControllerWith(&first);
    placeholder->resize(400, 250);
    QApplication::processEvents();
    EXPECT_EQ(first.size(), QSize(400, 250));
    fixed.replaceViewControllerWith(nullptr);

    PlaceholderControllerContext plain(placeholder);
    plain.setCurrentViewController(&second);
    EXPECT_EQ(second.size(), QSize(400, 250));
    placeholder->resize(200, 100);
    QApplication::processEvents();
    EXPECT_EQ(second.size(), QSize(400, 250));
}

TEST_F(PlaceholderContextsTest, ASlideTakesTheOldViewOutAndRunsItsCompletionOnce)
{
    AnimatedPlaceholderContext context(placeholder);
    context.replaceViewControllerWith(&first);
    int completions = 0;
    context.slideViewControllerFromRight(&second, [&] { ++completions; });
    EXPECT_TRUE(context.isSliding());
    EXPECT_EQ(second.pos(), QPoint(300, 0));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !context.isSliding(); }, 5000));
    EXPECT_EQ(completions, 1);
    EXPECT_EQ(first.parentWidget(), nullptr);
    EXPECT_EQ(second.geometry(), placeholder->rect());

    // Sliding to the current controller never calls the completion.
    context.slideViewControllerFromLeft(&second, [&] { ++completions; });
    EXPECT_FALSE(context.isSliding());
    EXPECT_EQ(completions, 1);
}

TEST_F(PlaceholderContextsTest, AnInterruptedSlideFinishesFirstAndRunsItsCompletion)
{
    AnimatedPlaceholderContext context(placeholder);
    context.replaceViewControllerWith(&first);
    QStringList completions;
    context.slideViewControllerFromTop(&second, [&] { completions.append("second"); });
    EXPECT_EQ(second.pos(), QPoint(0, -200));
    context.slideViewControllerFromBottom(&first, [&] { completions.append("first"); });
    // The interrupted slide ended at once: the view it brought in is now leaving.
    EXPECT_EQ(completions, QStringList({"second"}));
    EXPECT_EQ(first.pos(), QPoint(0, 200));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !context.isSliding(); }, 5000));
    EXPECT_EQ(completions, QStringList({"second", "first"}));
    EXPECT_EQ(second.parentWidget(), nullptr);
    EXPECT_EQ(first.parentWidget(), placeholder);
    EXPECT_EQ(journal.last(), "first active");
}

TEST_F(PlaceholderContextsTest, ASlideToNothingTakesTheOldViewOutAndRunsItsCompletionOnce)
{
    AnimatedPlaceholderContext context(placeholder);
    context.replaceViewControllerWith(&first);
    int completions = 0;
    context.slideViewControllerFromLeft(nullptr, [&] { ++completions; });
    context.finishSlide();
    EXPECT_EQ(completions, 1);
    EXPECT_EQ(context.currentViewController(), nullptr);
    EXPECT_EQ(first.parentWidget(), nullptr);
    EXPECT_EQ(journal.last(), "first resigned");
}

TEST(ViewControllerBaseDeathTest, AMissingCommonObjectStopsWithItsName)
{
    ViewControllerBase controller;
    EXPECT_DEATH(controller.loadView(), "Forgot to assign application helpers!");
}

} // namespace
