#pragma once
// What the window and view controller bases share: the common objects, the
// check that a parent handed them on, and the launch simulation flag.
#include "ui/base/CommonObjects.h"

#include <QString>
#include <functional>

class ViewControllerBase;

class CommonObjectsHolder {
public:
    const CommonObjects& commonObjects() const { return m_common; }
    void setCommonObjects(const CommonObjects& objects) { m_common = objects; }

    ApplicationHelping* applicationHelpers() const { return m_common.applicationHelpers; }
    ModelObjectHelping* modelObjectHelpers() const { return m_common.modelObjectHelpers; }
    SystemItemHelping* systemItemHelpers() const { return m_common.systemItemHelpers; }
    UndoManager* undoManager() const { return m_common.undoManager; }
    ObjectContext* managedObjectContext() const { return m_common.managedObjectContext; }
    ApplicationHelpers* helpers() const { return m_common.helpers; }
    ModelEditing* editing() const { return m_common.editing; }

    // A controller whose parent forgot to hand on the common objects is a
    // programming error: the program stops with the name of the missing one.
    void validateCommonObjects() const;
    // Also hands on the parent's texts, settings and notification centre.
    void copyCommonObjectsToViewController(ViewControllerBase& child) const;

    // Runs edit inside one undo group. edit returns the step's name, or an
    // empty name when it changed nothing; a named step is saved with the
    // last-change backup. Returns whether the edit changed something.
    bool performUndoableEdit(const std::function<QString()>& edit) const;

    bool isLaunchSimulationModeActive() const { return m_launchSimulationModeActive; }
    virtual void changeToLaunchSimulationMode(bool active) { m_launchSimulationModeActive = active; }

protected:
    ~CommonObjectsHolder() = default;

private:
    CommonObjects m_common;
    bool m_launchSimulationModeActive = false;
};
