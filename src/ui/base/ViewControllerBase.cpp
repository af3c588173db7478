#include "ui/base/ViewControllerBase.h"

#include "ui/base/PlaceholderControllerContext.h"
#include "ui/views/ShownChildrenAccessible.h"
#include "ui/views/TabFocusScroller.h"

ViewControllerBase::ViewControllerBase(bool observeRepresentedObject, QWidget* parent)
    : QWidget(parent)
    , m_observesRepresentedObject(observeRepresentedObject)
{
    // Also links the interface, which installs itself with the application.
    ShownChildrenAccessible::install();
}

ViewControllerBase::~ViewControllerBase() = default;

void ViewControllerBase::loadView()
{
    if (m_viewLoaded)
        return;
    validateCommonObjects();
    // Tab scrolls the control it reaches into view, in every window.
    TabFocusScroller::install();
    m_viewLoaded = true;
    awakeFromNib();
}

PlaceholderControllerContext* ViewControllerBase::parentController() const
{
    return m_parentController;
}

void ViewControllerBase::setParentController(PlaceholderControllerContext* context)
{
    m_parentController = context;
}

void ViewControllerBase::setRepresentedObject(const QVariant& object)
{
    const QVariant previous = m_representedObject;
    m_representedObject = object;
    if (m_observesRepresentedObject)
        representedObjectChangedFrom(previous, object);
}

void ViewControllerBase::representedObjectChangedFrom(const QVariant&, const QVariant&)
{
    qFatal("Subclass registered for represented object observation but didn't implement observation handler!");
}

void ViewControllerBase::makeFirstResponder()
{
    QWidget* target = focusProxy();
    if (!target) {
        const QList<QWidget*> children = findChildren<QWidget*>();
        for (QWidget* child : children) {
            if ((child->focusPolicy() & Qt::TabFocus) && child->isEnabled() && !child->isHidden()) {
                target = child;
                break;
            }
        }
    }
    if (target)
        target->setFocus(Qt::OtherFocusReason);
}
