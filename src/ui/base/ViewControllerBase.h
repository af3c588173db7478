#pragma once
// Base of every view controller: the controller is the widget it controls.
// It carries the common objects (handed on by its parent right after
// creating it, before its view is loaded), its represented object, and
// whether it is the active child of a placeholder context.
//
// loadView() runs awakeFromNib() once: subclasses build their widgets there,
// when the common objects are known.
#include "texts/LanternwickObject.h"
#include "ui/base/CommonObjectsHolder.h"

#include <QPointer>
#include <QVariant>
#include <QWidget>

class PlaceholderControllerContext;

class ViewControllerBase : public QWidget, public LanternwickObject, public CommonObjectsHolder {
    Q_OBJECT
public:
    // With observeRepresentedObject every change of the represented object is
    // reported to representedObjectChangedFrom(), which the subclass overrides.
    explicit ViewControllerBase(bool observeRepresentedObject = false, QWidget* parent = nullptr);
    ~ViewControllerBase() override;

    // Checks the common objects and sets the view up, once.
    void loadView();
    bool isViewLoaded() const { return m_viewLoaded; }

    QVariant representedObject() const { return m_representedObject; }
    // Subclasses that pass the object on to children override it.
    virtual void setRepresentedObject(const QVariant& object);
    bool isObservingRepresentedObject() const { return m_observesRepresentedObject; }

    // The placeholder context that shows this controller now, if any.
    PlaceholderControllerContext* parentController() const;
    void setParentController(PlaceholderControllerContext* context);

    // Set around the controller's own writes to the model, so that its own
    // model observers skip them.
    bool isUpdatingModelFromView() const { return m_updatingModelFromView; }
    void setIsUpdatingModelFromView(bool updating) { m_updatingModelFromView = updating; }

    // Shown by a placeholder context: the controller takes part in command
    // validation (the focused view's controller first) while it is active.
    virtual void viewControllerDidBecomeActive() { m_active = true; }
    virtual void viewControllerWillResignActive() { m_active = false; }
    bool isActive() const { return m_active; }

    // Gives the keyboard focus to the controller's first control.
    virtual void makeFirstResponder();

protected:
    virtual void awakeFromNib() {}
    virtual void representedObjectChangedFrom(const QVariant& previous, const QVariant& current);

private:
    const bool m_observesRepresentedObject;
    bool m_viewLoaded = false;
    bool m_updatingModelFromView = false;
    bool m_active = false;
    QVariant m_representedObject;
    QPointer<PlaceholderControllerContext> m_parentController;
};
