#include "ui/base/CommonObjectsHolder.h"

#include "foundation/Log.h"
#include "model/ObjectContext.h"
#include "model/UndoManager.h"
#include "shell/ApplicationHelpers.h"
#include "ui/base/ViewControllerBase.h"

#include <QtGlobal>

CommonObjects CommonObjects::fromHelpers(ApplicationHelpers& helpers)
{
    CommonObjects objects;
    objects.applicationHelpers = &helpers;
    objects.modelObjectHelpers = &helpers;
    objects.systemItemHelpers = &helpers;
    objects.managedObjectContext = helpers.managedObjectContext();
    objects.undoManager = objects.managedObjectContext ? &objects.managedObjectContext->undoManager() : nullptr;
    objects.helpers = &helpers;
    objects.editing = helpers.modelEditing();
    return objects;
}

void CommonObjectsHolder::validateCommonObjects() const
{
    if (!m_common.applicationHelpers)
        qFatal("Forgot to assign application helpers!");
    if (!m_common.modelObjectHelpers)
        qFatal("Forgot to assign model object helpers!");
    if (!m_common.systemItemHelpers)
        qFatal("Forgot to assign system item helpers!");
    if (!m_common.undoManager)
        qFatal("Forgot to assign undo manager!");
    if (!m_common.managedObjectContext)
        qFatal("Forgot to assign managed object context!");
}

void CommonObjectsHolder::copyCommonObjectsToViewController(ViewControllerBase& child) const
{
    child.setCommonObjects(m_common);
    // The texts, settings and notification centre the parent was given too.
    if (const auto* services = dynamic_cast<const LanternwickObject*>(this)) {
        child.setLocalizator(&services->localizator());
        child.setUserDefaults(&services->userDefaults());
        child.setNotificationCenter(&services->notificationCenter());
    }
}

bool CommonObjectsHolder::performUndoableEdit(const std::function<QString()>& edit) const
{
    UndoManager& undo = *undoManager();
    LOG_DEBUG("Updating undo manager and saving changes...");
    undo.beginUndoGrouping();
    const QString actionName = edit();
    if (!actionName.isEmpty())
        undo.setActionName(actionName);
    undo.endUndoGrouping();
    if (actionName.isEmpty())
        return false;
    helpers()->saveDataToDiskUsingChangeBackup(true);
    return true;
}
