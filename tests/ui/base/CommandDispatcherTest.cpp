#include "support/WindowTest.h"
#include "ui/base/CommandDispatcher.h"
#include "ui/base/CommandResponder.h"
#include "ui/base/ViewControllerBase.h"
#include "ui/base/WindowControllerBase.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QVBoxLayout>

namespace {

// Answers the commands it is given, allowing those in `allowed`, and notes
// what it did.
class Answering : public CommandResponder {
public:
    Answering(QString name, QStringList& journal)
        : m_name(std::move(name))
        , m_journal(journal)
    {
    }
    bool respondsToCommand(const QString& command) const override { return answered.contains(command); }
    bool validateCommand(const QString& command, QAction& item) override
    {
        item.setText(m_name + " " + command);
        return allowed.contains(command);
    }
    void performCommand(const QString& command) override { m_journal << m_name + " " + command; }

    QStringList answered;
    QStringList allowed;

private:
    QString m_name;
    QStringList& m_journal;
};

class AnsweringView : public ViewControllerBase, public Answering {
public:
    AnsweringView(QStringList& journal)
        : Answering(QStringLiteral("view"), journal)
    {
        field = new QLineEdit(this);
        new QVBoxLayout(this);
        layout()->addWidget(field);
    }
    QLineEdit* field;
};

// Its window holds the view.
class AnsweringWindow : public WindowControllerBase {
public:
    explicit AnsweringWindow(QStringList& journal)
        : m_journal(journal)
    {
    }
    AnsweringView* view = nullptr;

protected:
    std::unique_ptr<QWidget> makeWindow() override
    {
        auto window = std::make_unique<QWidget>();
        view = new AnsweringView(m_journal);
        view->setParent(window.get());
        return window;
    }

private:
    QStringList& m_journal;
};

class CommandDispatcherTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        windowController.setCommonObjects(commonObjects());
        windowController.window();
        view = windowController.view;
        view->viewControllerDidBecomeActive();
        application.answered = QStringList { "undo", "terminate", "shared" };
        application.allowed = QStringList { "terminate", "shared" };
        view->answered = QStringList { "shared", "viewOnly" };
        view->allowed = QStringList { "viewOnly" };
    }

    QStringList journal;
    AnsweringWindow windowController { journal };
    AnsweringView* view = nullptr;
    Answering application { "application", journal };
    CommandDispatcher dispatcher { &application };
};

TEST_F(CommandDispatcherTest, TheChainRunsFromTheActiveViewThroughItsWindowToTheApplication)
{
    const QList<CommandResponder*> chain = dispatcher.responderChainFrom(view->field);
    EXPECT_EQ(chain, QList<CommandResponder*>({ view, &windowController, &application }));

    // A view controller that is not shown by a placeholder takes no part.
    view->viewControllerWillResignActive();
    EXPECT_EQ(dispatcher.responderChainFrom(view->field), QList<CommandResponder*>({ &windowController, &application }));
    EXPECT_EQ(dispatcher.responderChainFrom(nullptr), QList<CommandResponder*>({ &application }));
}

TEST_F(CommandDispatcherTest, TheFirstResponderThatAnswersDecidesAndEveryFiredItemIsCheckedAgain)
{
    windowController.showWindow();
    QApplication::setActiveWindow(windowController.window());
    view->field->setFocus();
    QMenu menu;
    dispatcher.manageMenu(menu);
    QAction* shared = dispatcher.addCommand(menu, "shared", "Shared");
    QAction* viewOnly = dispatcher.addCommand(menu, "viewOnly", "View only");
    QAction* nobody = dispatcher.addCommand(menu, "nobody", "Nobody");
    QAction* undo = dispatcher.addCommand(menu, "undo", "Undo");

    ASSERT_EQ(QApplication::focusWidget(), view->field);

    dispatcher.validateMenu(menu);
    // The view answers "shared" and forbids it: the application is not asked.
    EXPECT_FALSE(shared->isEnabled());
    EXPECT_EQ(shared->text(), "view shared");
    EXPECT_TRUE(viewOnly->isEnabled());
    EXPECT_FALSE(nobody->isEnabled());
    // The window answers undo before the application; nothing to undo.
    EXPECT_FALSE(undo->isEnabled());

    // A shortcut fires whatever the menu showed last; the rule decides.
    shared->setEnabled(true);
    shared->trigger();
    viewOnly->trigger();
    EXPECT_EQ(journal, QStringList({ "view viewOnly" }));
}

// A control sends a command from where it sits, whatever has the focus.
TEST_F(CommandDispatcherTest, ASentCommandTakesTheChainOfItsSender)
{
    EXPECT_TRUE(dispatcher.sendCommand("viewOnly", view->field));
    EXPECT_TRUE(dispatcher.sendCommand("terminate", view->field));
    // Answered and forbidden by the view: not passed on to the application.
    EXPECT_FALSE(dispatcher.sendCommand("shared", view->field));
    EXPECT_FALSE(dispatcher.sendCommand("nobody", view->field));
    EXPECT_TRUE(dispatcher.sendCommand("shared", nullptr));
    EXPECT_EQ(journal, QStringList({ "view viewOnly", "application terminate", "application shared" }));
}

// A key typed in a popover or tool window acts there alone: past the
// controllers inside it only the commands every window has go on.
TEST_F(CommandDispatcherTest, FromAToolWindowOnlyTheCommandsOfEveryWindowGoPastIt)
{
    QWidget tool(windowController.window(), Qt::Tool);
    auto* inside = new AnsweringView(journal);
    inside->setParent(&tool);
    inside->viewControllerDidBecomeActive();
    inside->answered = inside->allowed = QStringList { "viewOnly" };

    EXPECT_TRUE(dispatcher.sendCommand("viewOnly", inside->field));
    EXPECT_FALSE(dispatcher.sendCommand("shared", inside->field)) << "the window behind's";
    EXPECT_TRUE(dispatcher.sendCommand("terminate", inside->field));
    EXPECT_EQ(journal, QStringList({ "view viewOnly", "application terminate" }));
    // The chain itself is whole; only what travels it is held back.
    EXPECT_EQ(dispatcher.responderChainFrom(inside->field), QList<CommandResponder*>({ inside, &windowController, &application }));
}

} // namespace
