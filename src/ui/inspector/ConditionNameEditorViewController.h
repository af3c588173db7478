#pragma once
// The top of every condition row: the condition's name with a check box that
// says whether the shown item uses the condition, turned into a text field
// with a Done button while the user renames it. The represented object is
// the startup condition.
//
// Done, Enter or the focus leaving the field commits a changed name as one undo step followed by a
// save; Escape drops what was typed. The inspector sets the check box for the
// shown item and hears the user's toggles through
// isConditionUsedByItsParentLoginItemChanged.
#include "model/MHKVONotificationHelper.h"
#include "ui/base/ViewControllerBase.h"

#include <memory>

class DBStartupCondition;
class ElidingLabel;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QStackedLayout;

class ConditionNameEditorViewController : public ViewControllerBase {
    Q_OBJECT
public:
    ConditionNameEditorViewController();
    ~ConditionNameEditorViewController() override;

    void setRepresentedObject(const QVariant& object) override;
    // Null when none is represented or it was deleted.
    DBStartupCondition* condition() const;

    // The text of the field while renaming.
    QString conditionName() const;
    void setConditionName(const QString& name);
    QString conditionNamePriorToEditing() const { return m_conditionNamePriorToEditing; }
    bool isEditing() const { return m_isEditing; }

    bool isConditionUsedByItsParentLoginItem() const { return m_isConditionUsed; }
    void setIsConditionUsedByItsParentLoginItem(bool used);

    QCheckBox* usageView() const { return m_viewerUsageView; }
    ElidingLabel* nameView() const { return m_viewerNameView; }
    QLineEdit* editorNameView() const { return m_editorNameView; }
    QPushButton* editorDoneView() const { return m_editorDoneView; }

public Q_SLOTS:
    void showNameEditor();
    // Done: commits a changed name.
    void hideNameEditor();
    // Escape: only while editing, and drops the typed name.
    void cancelOperation();

Q_SIGNALS:
    void isConditionUsedByItsParentLoginItemChanged(bool used);

protected:
    void awakeFromNib() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // A double click on the name starts renaming.
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void showViewer();
    void showEditor();
    void focusEditor();
    void updateNameView();

    QWidget* m_viewerParentView = nullptr;
    QCheckBox* m_viewerUsageView = nullptr;
    ElidingLabel* m_viewerNameView = nullptr;
    QWidget* m_editorParentView = nullptr;
    QLineEdit* m_editorNameView = nullptr;
    QPushButton* m_editorDoneView = nullptr;
    QStackedLayout* m_layout = nullptr;

    QString m_conditionNamePriorToEditing;
    bool m_isEditing = false;
    bool m_isConditionUsed = false;
    std::unique_ptr<MHKVONotificationHelper> m_nameObservation;
};
