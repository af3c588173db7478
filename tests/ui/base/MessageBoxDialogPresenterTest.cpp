// The message box answers with the index of the button the user clicked,
// in the order the request gives, and never reads a name as markup.
#include "ui/base/MessageBoxDialogPresenter.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Runs inspect on the message box once it is open, then clicks the button
// titled `click` (after ticking the check box when asked).
DialogPresenter::Answer answerDialog(const DialogPresenter::Request& request, const QString& click,
                                     bool tick = false, std::function<void(QMessageBox*)> inspect = {})
{
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        if (inspect)
            inspect(box);
        if (tick)
            box->checkBox()->setChecked(true);
        for (QAbstractButton* button : box->buttons())
            if (button->text() == click)
                button->click();
    });
    MessageBoxDialogPresenter presenter;
    return presenter.runModal(request);
}

} // namespace

TEST(MessageBoxDialogPresenter, AnswersTheButtonInRequestOrderWithTheSuppressionBox)
{
    DialogPresenter::Request request{QStringLiteral("Delete the items?"), QStringLiteral("They go for good."),
                                     {QStringLiteral("Delete"), QStringLiteral("Cancel")},
                                     QStringLiteral("Don't ask again")};
    DialogPresenter::Answer answer = answerDialog(request, QStringLiteral("Cancel"));
    EXPECT_EQ(answer.button, 1);
    EXPECT_FALSE(answer.suppressed);

    answer = answerDialog(request, QStringLiteral("Delete"), true);
    EXPECT_EQ(answer.button, 0);
    EXPECT_TRUE(answer.suppressed);
}

TEST(MessageBoxDialogPresenter, ClosingTheWindowIsTheCancelAnswer)
{
    DialogPresenter::Request request{QStringLiteral("Database?"), QString(),
                                     {QStringLiteral("Restore"), QStringLiteral("Quit"), QStringLiteral("Delete")}, {}};
    request.cancelButton = 1;
    EXPECT_EQ(answerDialog(request, QString(), false, [](QMessageBox* box) { box->close(); }).button, 1);
    request.cancelButton = -1;
    EXPECT_EQ(answerDialog(request, QString(), false, [](QMessageBox* box) { box->close(); }).button, 2);
}

TEST(MessageBoxDialogPresenter, ShowsHostileNamesAsPlainText)
{
    const QString name = QStringLiteral("<b>evil</b> <a href=\"file:///etc\">x</a> & \"$HOME\" `id`");
    DialogPresenter::Request request{name, name, {QStringLiteral("OK")}, {}};
    int plainLabels = 0;
    const DialogPresenter::Answer answer = answerDialog(request, QStringLiteral("OK"), false, [&](QMessageBox* box) {
        for (QLabel* label : box->findChildren<QLabel*>()) {
            if (label->text() != name)
                continue;
            EXPECT_EQ(label->textFormat(), Qt::PlainText);
            ++plainLabels;
        }
        EXPECT_EQ(box->accessibleName(), name);
    });
    EXPECT_EQ(answer.button, 0);
    EXPECT_EQ(plainLabels, 2);
}
