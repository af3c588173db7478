#include "ui/inspector/ConditionNameEditorViewController.h"

#include "foundation/Log.h"
#include "model/DBStartupCondition.h"
#include "shell/ApplicationHelpers.h"
#include "shell/ModelEditing.h"
#include "ui/inspector/RepresentedObject.h"
#include "ui/views/ElidingLabel.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStackedLayout>
#include <QTimer>

namespace {

// The field takes the focus only once the row has settled in its table.
constexpr int kFocusDelayMilliseconds = 100;

} // namespace

ConditionNameEditorViewController::ConditionNameEditorViewController()
    : ViewControllerBase(false)
{
    setObjectName(QStringLiteral("conditionNameEditor"));
}

ConditionNameEditorViewController::~ConditionNameEditorViewController() = default;

void ConditionNameEditorViewController::awakeFromNib()
{
    m_viewerParentView = new QWidget(this);
    m_viewerUsageView = new QCheckBox(m_viewerParentView);
    m_viewerUsageView->setObjectName(QStringLiteral("conditionUsageCheckBox"));
    m_viewerNameView = new ElidingLabel(m_viewerParentView);
    m_viewerNameView->setObjectName(QStringLiteral("conditionNameLabel"));
    m_viewerNameView->setTextInteractionFlags(Qt::NoTextInteraction);
    QFont bold = m_viewerNameView->font();
    bold.setBold(true);
    m_viewerNameView->setFont(bold);
    auto* viewerLayout = new QHBoxLayout(m_viewerParentView);
    viewerLayout->setContentsMargins(6, 2, 6, 2);
    viewerLayout->addWidget(m_viewerUsageView);
    viewerLayout->addWidget(m_viewerNameView, 1);

    m_editorParentView = new QWidget(this);
    m_editorNameView = new QLineEdit(m_editorParentView);
    m_editorNameView->setObjectName(QStringLiteral("conditionNameField"));
    m_editorNameView->setAccessibleName(tr("Condition name"));
    m_editorDoneView = new QPushButton(tr("Done"), m_editorParentView);
    m_editorDoneView->setObjectName(QStringLiteral("conditionNameDoneButton"));
    m_editorDoneView->setAccessibleName(tr("Done"));
    auto* editorLayout = new QHBoxLayout(m_editorParentView);
    editorLayout->setContentsMargins(6, 2, 6, 2);
    editorLayout->addWidget(m_editorNameView, 1);
    editorLayout->addWidget(m_editorDoneView);

    m_layout = new QStackedLayout(this);
    m_layout->addWidget(m_viewerParentView);
    m_layout->addWidget(m_editorParentView);

    connect(m_viewerUsageView, &QCheckBox::toggled, this, &ConditionNameEditorViewController::setIsConditionUsedByItsParentLoginItem);
    m_editorNameView->installEventFilter(this);
    connect(m_editorDoneView, &QPushButton::clicked, this, &ConditionNameEditorViewController::hideNameEditor);
    showViewer();
    updateNameView();
}

void ConditionNameEditorViewController::setRepresentedObject(const QVariant& object)
{
    ViewControllerBase::setRepresentedObject(object);
    m_nameObservation.reset();
    if (DBStartupCondition* shown = condition())
        m_nameObservation = shown->addObserver(QStringLiteral("conditionName"), [this](ManagedObject*, const KeyValueChange&) {
            updateNameView();
        });
    updateNameView();
}

DBStartupCondition* ConditionNameEditorViewController::condition() const
{
    return RepresentedObject::liveObjectAs<DBStartupCondition>(representedObject());
}

QString ConditionNameEditorViewController::conditionName() const
{
    return m_editorNameView ? m_editorNameView->text() : QString();
}

void ConditionNameEditorViewController::setConditionName(const QString& name)
{
    if (m_editorNameView)
        m_editorNameView->setText(name);
}

void ConditionNameEditorViewController::setIsConditionUsedByItsParentLoginItem(bool used)
{
    if (m_viewerUsageView) {
        // Shown without being taken for the user's change.
        const QSignalBlocker blocker(m_viewerUsageView);
        m_viewerUsageView->setChecked(used);
    }
    if (m_isConditionUsed == used)
        return;
    m_isConditionUsed = used;
    Q_EMIT isConditionUsedByItsParentLoginItemChanged(used);
}

void ConditionNameEditorViewController::showNameEditor()
{
    if (!isViewLoaded() || !condition())
        return;
    showEditor();
}

void ConditionNameEditorViewController::hideNameEditor()
{
    showViewer();
}

void ConditionNameEditorViewController::cancelOperation()
{
    if (!m_isEditing)
        return;
    LOG_VERBOSE("Cancelling the renaming of %1...", condition());
    m_isEditing = false;
    showViewer();
}

void ConditionNameEditorViewController::showEditor()
{
    // From the check box the keyboard goes straight to the field: hidden with
    // the focus in it, the check box would pass the focus on to the row's
    // next control first, and a screen reader would announce that control.
    if (m_viewerParentView->isAncestorOf(QApplication::focusWidget())) {
        m_editorParentView->show();
        m_editorNameView->setFocus(Qt::OtherFocusReason);
    }
    m_layout->setCurrentWidget(m_editorParentView);
    QTimer::singleShot(kFocusDelayMilliseconds, this, &ConditionNameEditorViewController::focusEditor);
    const QString name = condition()->conditionName();
    setConditionName(name);
    // Keys typed before the delayed focus replace the whole name too.
    m_editorNameView->selectAll();
    m_conditionNamePriorToEditing = name;
    m_isEditing = true;
}

void ConditionNameEditorViewController::showViewer()
{
    // The check box takes the focus before the field hides: a hidden focus
    // widget would pass the focus on as if the user had pressed Tab, and the
    // table would move its selection.
    if (m_editorParentView->isAncestorOf(QApplication::focusWidget()))
        m_viewerUsageView->setFocus(Qt::OtherFocusReason);
    m_layout->setCurrentWidget(m_viewerParentView);
    DBStartupCondition* renamed = condition();
    if (m_isEditing && renamed && conditionName() != m_conditionNamePriorToEditing) {
        LOG_NORMAL("Renaming %1 to \"%2\"...", renamed, conditionName());
        if (editing()->renameStartupCondition(renamed, conditionName()))
            helpers()->saveDataToDiskUsingChangeBackup(true);
    }
    m_isEditing = false;
}

void ConditionNameEditorViewController::focusEditor()
{
    // The row may have been closed or its condition deleted meanwhile. A
    // field that already has the keyboard may hold what the user typed since.
    if (m_isEditing && condition() && !m_editorNameView->hasFocus()) {
        m_editorNameView->setFocus(Qt::OtherFocusReason);
        m_editorNameView->selectAll();
    }
}

void ConditionNameEditorViewController::updateNameView()
{
    if (!m_viewerNameView)
        return;
    const DBStartupCondition* shown = condition();
    const QString name = shown ? shown->conditionName() : QString();
    m_viewerNameView->setFullText(name);
    // Named after what it checks, so each condition's box can be told apart.
    m_viewerUsageView->setAccessibleName(tr("Use %1").arg(name));
}

bool ConditionNameEditorViewController::eventFilter(QObject* watched, QEvent* event)
{
    // Return commits the name and goes no further: the table around would
    // take it for a request to rename the row again.
    if (watched == m_editorNameView && event->type() == QEvent::KeyPress && m_isEditing) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            hideNameEditor();
            return true;
        }
    }
    // The focus moving on within the window, except to the field's own Done
    // button, finishes the edit; a menu or another window taking it does not.
    if (watched == m_editorNameView && event->type() == QEvent::FocusOut && m_isEditing) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason && QApplication::focusWidget() != m_editorDoneView)
            QMetaObject::invokeMethod(this, &ConditionNameEditorViewController::hideNameEditor, Qt::QueuedConnection);
    }
    return ViewControllerBase::eventFilter(watched, event);
}

void ConditionNameEditorViewController::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && m_isEditing) {
        cancelOperation();
        return;
    }
    ViewControllerBase::keyPressEvent(event);
}

void ConditionNameEditorViewController::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (!m_isEditing && m_viewerParentView->isVisible())
        showNameEditor();
    else
        ViewControllerBase::mouseDoubleClickEvent(event);
}
