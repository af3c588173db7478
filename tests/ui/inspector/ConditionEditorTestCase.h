#pragma once
// Condition editors made by the factory, as the inspector makes them, and
// the user's choices in their lists.
#include "InspectorTestCase.h"
#include "ui/inspector/StartupConditionViewControllerBase.h"
#include "ui/inspector/StartupConditionViewControllersFactory.h"
#include "ui/views/ChoicePopUpButton.h"

#include <memory>

class ConditionEditorTestCase : public InspectorTestCase {
protected:
    template <typename Editor>
    std::unique_ptr<Editor> editorFor(DBStartupCondition* condition)
    {
        StartupConditionViewControllersFactory factory;
        factory.setCommonObjects(common);
        std::unique_ptr<StartupConditionViewControllerBase> made = factory.viewControllerForStartupCondition(*condition);
        auto* editor = dynamic_cast<Editor*>(made.get());
        EXPECT_NE(editor, nullptr) << "the factory made " << (made ? made->metaObject()->className() : "nothing");
        if (!editor)
            return nullptr;
        made.release();
        editor->setRepresentedObject(RepresentedObject::fromObject(condition));
        editor->resize(420, editor->sizeHint().height());
        return std::unique_ptr<Editor>(editor);
    }

    // What the user's pick in the list does; a choice that is not listed is a test fault.
    static void choose(ChoicePopUpButton* list, const QVariant& value)
    {
        const int index = list->findData(value);
        ASSERT_GE(index, 0) << value.toString().toStdString();
        list->setCurrentIndex(index);
    }

    // One undo step named so, and one save.
    void expectOneStep(const QString& actionName)
    {
        context->processPendingChanges();
        QCoreApplication::processEvents();
        EXPECT_EQ(undo().undoActionName(), actionName);
        EXPECT_EQ(saves, 1);
        if (undo().canUndo()) {
            undo().undo();
            EXPECT_FALSE(undo().canUndo()) << "more than one undo step";
            undo().redo();
        }
    }

    // No write at all.
    void expectNoStep()
    {
        context->processPendingChanges();
        QCoreApplication::processEvents();
        EXPECT_FALSE(undo().canUndo());
        EXPECT_EQ(saves, 0);
    }
};
