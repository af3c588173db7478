#include "ui/inspector/StartupConditionViewControllerBase.h"

#include "model/DBStartupCondition.h"
#include "ui/inspector/ConditionNameEditorViewController.h"
#include "ui/inspector/RepresentedObject.h"

#include <QVBoxLayout>
#include <algorithm>

namespace {

// A row is never shorter than one line of controls.
constexpr double kMinimumRowHeight = 24;

} // namespace

StartupConditionViewControllerBase::StartupConditionViewControllerBase(bool observeRepresentedObject)
    : ViewControllerBase(observeRepresentedObject)
{
    setObjectName(QStringLiteral("startupConditionEditor"));
}

StartupConditionViewControllerBase::~StartupConditionViewControllerBase() = default;

ConditionNameEditorViewController& StartupConditionViewControllerBase::nameEditorViewController()
{
    if (!m_nameEditorViewController) {
        m_nameEditorViewController = new ConditionNameEditorViewController();
        m_nameEditorViewController->setParent(this);
        copyCommonObjectsToViewController(*m_nameEditorViewController);
        m_nameEditorViewController->loadView();
    }
    return *m_nameEditorViewController;
}

void StartupConditionViewControllerBase::awakeFromNib()
{
    m_contentLayout = new QVBoxLayout(this);
    m_contentLayout->setContentsMargins(0, 0, 0, 0);
    m_contentLayout->setSpacing(0);
    m_nameEditorPlaceholderView = new QWidget(this);
    m_nameEditorPlaceholderView->setObjectName(QStringLiteral("nameEditorPlaceholderView"));
    m_contentLayout->addWidget(m_nameEditorPlaceholderView);
    setupNameEditorViewControllerWithPlaceholderView();
}

void StartupConditionViewControllerBase::setupNameEditorViewControllerWithPlaceholderView()
{
    auto* layout = new QVBoxLayout(m_nameEditorPlaceholderView);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(&nameEditorViewController());
}

void StartupConditionViewControllerBase::setRepresentedObject(const QVariant& object)
{
    nameEditorViewController().setRepresentedObject(object);
    ViewControllerBase::setRepresentedObject(object);
}

DBStartupCondition* StartupConditionViewControllerBase::condition() const
{
    return RepresentedObject::liveObjectAs<DBStartupCondition>(representedObject());
}

double StartupConditionViewControllerBase::requiredRowHeight()
{
    if (m_requiredRowHeight > 0)
        return m_requiredRowHeight;
    const double measured = std::max<double>(sizeHint().height(), kMinimumRowHeight);
    if (m_useFixedRowHeight)
        m_requiredRowHeight = measured;
    return measured;
}

void StartupConditionViewControllerBase::setRequiredRowHeight(double height)
{
    if (height == m_requiredRowHeight)
        return;
    m_requiredRowHeight = height;
    Q_EMIT requiredRowHeightChanged(height);
}

QString StartupConditionViewControllerBase::logDescription() const
{
    const DBStartupCondition* shown = condition();
    return QStringLiteral("%1 (%2)").arg(QString::fromLatin1(metaObject()->className()), shown ? shown->logDescription() : QString());
}
