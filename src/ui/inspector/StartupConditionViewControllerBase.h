#pragma once
// What every row editor of the inspector's conditions table shares: the
// name editor at the top of the row and the height the row asks for. The
// represented object is the startup condition; the name editor gets it too.
//
// Alone, the editor is the name editor's row; the editor of each kind adds
// its controls under it.
#include "ui/base/ViewControllerBase.h"

class ConditionNameEditorViewController;
class DBStartupCondition;
class QVBoxLayout;

class StartupConditionViewControllerBase : public ViewControllerBase {
    Q_OBJECT
public:
    explicit StartupConditionViewControllerBase(bool observeRepresentedObject = false);
    ~StartupConditionViewControllerBase() override;

    // Made on first use with this editor's common objects, its view loaded.
    ConditionNameEditorViewController& nameEditorViewController();

    void setRepresentedObject(const QVariant& object) override;
    // Null when none is represented or it was deleted.
    DBStartupCondition* condition() const;

    // Never 0: a stored height when one was set (or measured once for a
    // fixed-height editor), else the editor's size hint, at least a line.
    double requiredRowHeight();
    void setRequiredRowHeight(double height);
    bool useFixedRowHeight() const { return m_useFixedRowHeight; }
    void setUseFixedRowHeight(bool fixed) { m_useFixedRowHeight = fixed; }

    // The hotkey and power-source editors offer only combinations that no
    // other condition of their kind uses; the inspector asks them to look
    // again whenever the conditions change.
    virtual void updateHotkeyCombinationAllowedStatuses() {}
    virtual void updatePowerSourceCombinationAllowedStatuses() {}

    QString logDescription() const;

Q_SIGNALS:
    void requiredRowHeightChanged(double height);

protected:
    void awakeFromNib() override;
    // Where the kind's controls go, under the name editor.
    QVBoxLayout* contentLayout() const { return m_contentLayout; }
    QWidget* nameEditorPlaceholderView() const { return m_nameEditorPlaceholderView; }
    void setupNameEditorViewControllerWithPlaceholderView();

private:
    ConditionNameEditorViewController* m_nameEditorViewController = nullptr;
    QWidget* m_nameEditorPlaceholderView = nullptr;
    QVBoxLayout* m_contentLayout = nullptr;
    double m_requiredRowHeight = 0;
    bool m_useFixedRowHeight = false;
};
