// The database failure at start, answered in the real message box.
#include "support/ShellTest.h"
#include "texts/Localizator.h"
#include "ui/base/MessageBoxDialogPresenter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

namespace {

class DatabaseFailureDialogTest : public ShellTest {
protected:
    // Opens the failure dialog and lets act answer it once it is shown.
    bool present(const std::function<void(QMessageBox*)>& act)
    {
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            act(box);
        });
        MessageBoxDialogPresenter presenter;
        return helpers->presentDatabaseInitializationError(presenter);
    }

    static void click(QMessageBox* box, const QString& title)
    {
        for (QAbstractButton* button : box->buttons())
            if (button->text() == title)
                button->click();
    }

    const QByteArray corrupt = "<?xml version=\"1.0\"?><plist><dict><key>application</key>";
};

TEST_F(DatabaseFailureDialogTest, TheCloseButtonQuitsAndTouchesNothing)
{
    writeFile(store(), corrupt);
    ASSERT_EQ(start().managedObjectContext(), nullptr);
    EXPECT_FALSE(present([](QMessageBox* box) { box->close(); }));
    EXPECT_TRUE(helpers->databaseInitializationUserChoseQuit());
    EXPECT_EQ(readFile(store()), corrupt);
}

TEST_F(DatabaseFailureDialogTest, DeleteStartsAfreshAndKeepsAnArchive)
{
    writeFile(store(), corrupt);
    ASSERT_EQ(start().managedObjectContext(), nullptr);
    EXPECT_TRUE(present([](QMessageBox* box) { click(box, Localizator::shared().errorForFailedDatabaseInitializationDeleteButton()); }));
    EXPECT_FALSE(helpers->databaseInitializationUserChoseQuit());
    EXPECT_NE(helpers->managedObjectContext(), nullptr);
    EXPECT_EQ(QDir(dataFolder()).entryList({ "*.zip" }).size(), 1);
}

} // namespace
