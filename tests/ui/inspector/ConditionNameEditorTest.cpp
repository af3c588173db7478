// Renaming a condition in its row, and the factory of row editors.
#include "InspectorTestCase.h"
#include "ui/inspector/ConditionNameEditorViewController.h"
#include "ui/inspector/StartupConditionViewControllerBase.h"
#include "ui/inspector/StartupConditionViewControllersFactory.h"
#include "ui/views/ElidingLabel.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

class ConditionNameEditorTest : public InspectorTestCase {
protected:
    void SetUp() override
    {
        InspectorTestCase::SetUp();
        condition = namedConditions("A").first();
        factory.setCommonObjects(common);
        editor = factory.viewControllerForStartupCondition(*condition);
        ASSERT_NE(editor, nullptr);
        editor->setRepresentedObject(RepresentedObject::fromObject(condition));
        editor->resize(300, 40);
        editor->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(editor.get()));
        startFresh();
    }

    ConditionNameEditorViewController& nameEditor() { return editor->nameEditorViewController(); }

    void typeName(const QString& name)
    {
        nameEditor().showNameEditor();
        ASSERT_TRUE(nameEditor().isEditing());
        nameEditor().editorNameView()->setText(name);
    }

    DBStartupCondition* condition = nullptr;
    StartupConditionViewControllersFactory factory;
    std::unique_ptr<StartupConditionViewControllerBase> editor;
};

TEST_F(ConditionNameEditorTest, DoneCommitsAChangedNameAsOneStepAndOneSave)
{
    EXPECT_EQ(nameEditor().nameView()->text(), "A");
    typeName("Office & <b>Home</b>");
    QTest::mouseClick(nameEditor().editorDoneView(), Qt::LeftButton);
    EXPECT_FALSE(nameEditor().isEditing());
    EXPECT_EQ(condition->conditionName(), "Office & <b>Home</b>");
    EXPECT_EQ(nameEditor().nameView()->text(), "Office & <b>Home</b>");
    EXPECT_EQ(nameEditor().nameView()->textFormat(), Qt::PlainText);
    EXPECT_EQ(undo().undoActionName(), "Rename A to Office & <b>Home</b>");
    EXPECT_EQ(saves, 1);
    context->processPendingChanges();
    undo().undo();
    EXPECT_EQ(condition->conditionName(), "A");
    EXPECT_EQ(nameEditor().nameView()->text(), "A") << "the name follows the condition";
}

TEST_F(ConditionNameEditorTest, EnterCommitsToo)
{
    typeName("B");
    QTest::keyClick(nameEditor().editorNameView(), Qt::Key_Return);
    EXPECT_EQ(condition->conditionName(), "B");
}

TEST_F(ConditionNameEditorTest, EscapeDropsTheTypedNameAndTheSameNameChangesNothing)
{
    typeName("B");
    QTest::keyClick(nameEditor().editorNameView(), Qt::Key_Escape);
    EXPECT_FALSE(nameEditor().isEditing());
    EXPECT_EQ(condition->conditionName(), "A");
    typeName("A");
    nameEditor().hideNameEditor();
    QTest::keyClick(nameEditor().nameView(), Qt::Key_Escape);
    QCoreApplication::processEvents();
    EXPECT_FALSE(undo().canUndo());
    EXPECT_EQ(saves, 0);
}

TEST_F(ConditionNameEditorTest, ADoubleClickOnTheNameOpensTheEditorWithTheFocusInTheField)
{
    QApplication::setActiveWindow(editor.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(editor.get()));
    QTest::mouseDClick(nameEditor().nameView(), Qt::LeftButton);
    ASSERT_TRUE(nameEditor().isEditing());
    EXPECT_EQ(nameEditor().editorNameView()->text(), "A");
    EXPECT_EQ(nameEditor().conditionNamePriorToEditing(), "A");
    EXPECT_TRUE(QTest::qWaitFor([&] { return nameEditor().editorNameView()->hasFocus(); }));
}

TEST_F(ConditionNameEditorTest, ARenameOfADeletedConditionIsDropped)
{
    typeName("B");
    editing->deleteStartupConditions({ condition });
    startFresh();
    nameEditor().hideNameEditor();
    EXPECT_EQ(condition->conditionName(), "A");
    QCoreApplication::processEvents();
    EXPECT_FALSE(undo().canUndo());
    nameEditor().showNameEditor();
    EXPECT_FALSE(nameEditor().isEditing());
}

TEST_F(ConditionNameEditorTest, TheFactoryGivesEachKnownKindARowWithTheNameEditor)
{
    for (const int32_t type : { StartupConditionTypeScheduled, StartupConditionTypeHotkey, StartupConditionTypePowerSource,
                                StartupConditionTypeMountedVolume, StartupConditionTypeNetwork }) {
        condition->setConditionTypeValue(type);
        std::unique_ptr<StartupConditionViewControllerBase> made = factory.viewControllerForStartupCondition(*condition);
        ASSERT_NE(made, nullptr) << type;
        EXPECT_TRUE(made->isViewLoaded());
        EXPECT_TRUE(made->isAncestorOf(&made->nameEditorViewController()));
        EXPECT_TRUE(made->nameEditorViewController().isViewLoaded());
        EXPECT_EQ(made->representedObject(), QVariant()) << "the inspector gives the condition";
        EXPECT_GT(made->requiredRowHeight(), 0);
    }
    for (const int32_t type : { -1, 5, 1000 }) {
        condition->setConditionTypeValue(type);
        EXPECT_EQ(factory.viewControllerForStartupCondition(*condition), nullptr) << type;
    }
}

TEST_F(ConditionNameEditorTest, AFixedHeightEditorIsMeasuredOnce)
{
    editor->setUseFixedRowHeight(true);
    const double measured = editor->requiredRowHeight();
    EXPECT_GT(measured, 0);
    editor->nameEditorViewController().setMinimumHeight(static_cast<int>(measured) + 50);
    EXPECT_EQ(editor->requiredRowHeight(), measured);
}

} // namespace
