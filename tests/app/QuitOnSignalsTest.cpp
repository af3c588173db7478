// A quit signal while a dialog is open: the dialog answers what changes
// nothing, and every event loop ends with status 0.
#include "QuitOnSignals.h"

#include "ui/base/MessageBoxDialogPresenter.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QTimer>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>

namespace {

struct Ending {
    int status = -1;
    bool signalled = false;
};

// Runs open() from the application's event loop and sends signal once a
// modal dialog is up; answers how the loop ended.
Ending quitWhileOpen(int signal, const std::function<void()>& open)
{
    QuitOnSignals quitOnSignals;
    bool sent = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!QApplication::activeModalWidget() || sent)
            return;
        sent = true;
        raise(signal);
    });
    poll.start(20);
    QTimer::singleShot(0, open);
    // A dialog that stays ends the loop with 99 instead.
    QTimer::singleShot(20000, [] { QCoreApplication::exit(99); });
    Ending ending;
    ending.status = QApplication::exec();
    ending.signalled = quitOnSignals.wasSignalled();
    return ending;
}

void expectCleanEnd(const Ending& ending)
{
    EXPECT_TRUE(ending.signalled);
    EXPECT_EQ(ending.status, 0);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(QuitOnSignals, EachQuitSignalAnswersAConfirmationWithItsCancelButton)
{
    for (const int signal : { SIGTERM, SIGINT, SIGHUP }) {
        DialogPresenter::Request request;
        request.messageText = QStringLiteral("Delete the items?");
        request.buttons = { QStringLiteral("Delete"), QStringLiteral("Cancel") };
        std::optional<DialogPresenter::Answer> answer;
        const Ending ending = quitWhileOpen(signal, [&] { answer = MessageBoxDialogPresenter().runModal(request); });
        expectCleanEnd(ending);
        ASSERT_TRUE(answer) << signal;
        EXPECT_EQ(answer->button, 1) << signal;
    }
}

// The database failure dialog names its cancel (Quit) among options that
// restore or delete: that one is answered, not the last.
TEST(QuitOnSignals, TheDatabaseFailureDialogAnswersQuitAndADialogAfterItDoesNotHold)
{
    DialogPresenter::Request request;
    request.messageText = QStringLiteral("Failed opening Lanternwick database!");
    request.buttons = { QStringLiteral("Restore"), QStringLiteral("Quit"), QStringLiteral("Delete and Start Over") };
    request.cancelButton = 1;
    std::optional<DialogPresenter::Answer> answer;
    std::optional<DialogPresenter::Answer> following;
    const Ending ending = quitWhileOpen(SIGTERM, [&] {
        answer = MessageBoxDialogPresenter().runModal(request);
        // What the code shows next, after the signal, ends at once.
        DialogPresenter::Request next;
        next.messageText = QStringLiteral("Restore from backup?");
        next.buttons = { QStringLiteral("Restore"), QStringLiteral("Cancel") };
        following = MessageBoxDialogPresenter().runModal(next);
    });
    expectCleanEnd(ending);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->button, 1);
    ASSERT_TRUE(following);
    EXPECT_EQ(following->button, 1);
}

TEST(QuitOnSignals, TheOpenPanelIsCancelled)
{
    std::optional<int> result;
    const Ending ending = quitWhileOpen(SIGTERM, [&] {
        QFileDialog panel(nullptr, QStringLiteral("Add Items"));
        panel.setOption(QFileDialog::DontUseNativeDialog);
        panel.setFileMode(QFileDialog::ExistingFiles);
        result = panel.exec();
    });
    expectCleanEnd(ending);
    ASSERT_TRUE(result);
    EXPECT_EQ(*result, QDialog::Rejected);
}

} // namespace
