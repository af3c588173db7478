#include "ui/inspector/ExclusiveChoiceConditionViewController.h"

#include "foundation/Log.h"
#include "model/DBStartupCondition.h"
#include "model/ObjectContext.h"
#include "shell/ApplicationHelpers.h"
#include "ui/views/ChoicePopUpButton.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

ExclusiveChoiceConditionViewController::ExclusiveChoiceConditionViewController(Kind kind)
    : StartupConditionViewControllerBase(true)
    , m_kind(std::move(kind))
    , m_allowed(m_kind.choices.size(), true)
{
    setUseFixedRowHeight(true);
}

ExclusiveChoiceConditionViewController::~ExclusiveChoiceConditionViewController() = default;

void ExclusiveChoiceConditionViewController::awakeFromNib()
{
    StartupConditionViewControllerBase::awakeFromNib();
    auto* controls = new QWidget(this);
    m_controlsLayout = new QHBoxLayout(controls);
    m_controlsLayout->setContentsMargins(28, 0, 6, 4);
    m_explanationView = new QLabel(m_kind.explanation, controls);
    m_explanationView->setObjectName(QStringLiteral("explanationView"));
    m_explanationView->setTextFormat(Qt::PlainText);
    m_choiceView = new ChoicePopUpButton(m_kind.choiceObjectName, m_kind.choiceAccessibleName, controls);
    for (const Choice& choice : m_kind.choices)
        m_choiceView->addChoice(choice.title, choice.value);
    m_explanationView->setBuddy(m_choiceView);
    m_controlsLayout->addWidget(m_explanationView);
    m_controlsLayout->addWidget(m_choiceView);
    contentLayout()->addWidget(controls);
    connect(m_choiceView, &ChoicePopUpButton::valueChosen, this, &ExclusiveChoiceConditionViewController::choiceChanged);
    setupObservations();
}

void ExclusiveChoiceConditionViewController::setupObservations()
{
    m_choiceChangedObserver = helpers()->notificationCenter().addObserver(m_kind.changeNotification, nullptr, [this](const Notification&) {
        updateAllowedChoices();
    });
}

void ExclusiveChoiceConditionViewController::representedObjectChangedFrom(const QVariant&, const QVariant&)
{
    m_observations.clear();
    if (DBStartupCondition* shown = condition()) {
        m_observations.push_back(shown->addObserver(m_kind.choiceKeyPath, [this](ManagedObject*, const KeyValueChange&) {
            choiceDidChangeInModel();
        }));
        for (const QString& keyPath : observedKeyPaths())
            m_observations.push_back(shown->addObserver(keyPath, [this](ManagedObject*, const KeyValueChange&) { updateShownValues(); }));
    }
    updateShownValues();
    updateAllowedChoices();
}

void ExclusiveChoiceConditionViewController::updateShownValues()
{
    if (!m_choiceView)
        return;
    const DBStartupCondition* shown = condition();
    const int32_t choice = shown ? judgedChoiceOfCondition(*shown) : -1;
    m_choiceView->showValue(choice < 0 ? QVariant() : QVariant(choice));
}

bool ExclusiveChoiceConditionViewController::isChoiceAllowed(int32_t value) const
{
    for (qsizetype index = 0; index < m_kind.choices.size(); ++index)
        if (m_kind.choices[index].value == value)
            return m_allowed[index];
    return false;
}

void ExclusiveChoiceConditionViewController::updateAllowedChoices()
{
    if (!m_choiceView)
        return;
    const DBStartupCondition* own = condition();
    QList<bool> allowed(m_kind.choices.size(), true);
    for (const DBStartupCondition* other : managedObjectContext()->sortedStartupConditions()) {
        if (other == own || other->conditionTypeValue() != m_kind.conditionType)
            continue;
        const int32_t used = judgedChoiceOfCondition(*other);
        for (qsizetype index = 0; index < m_kind.choices.size(); ++index)
            if (m_kind.choices[index].value == used)
                allowed[index] = false;
    }
    m_allowed = allowed;
    for (qsizetype index = 0; index < m_kind.choices.size(); ++index)
        m_choiceView->setChoiceEnabled(m_kind.choices[index].value, m_allowed[index]);
}

void ExclusiveChoiceConditionViewController::choiceDidChangeInModel()
{
    updateShownValues();
    helpers()->notificationCenter().post(m_kind.changeNotification, this);
}

void ExclusiveChoiceConditionViewController::choiceChanged(const QVariant& value)
{
    DBStartupCondition* shown = condition();
    if (!shown)
        return;
    // Other editors' conditions may have taken it since the list was drawn.
    updateAllowedChoices();
    if (!isChoiceAllowed(value.toInt())) {
        LOG_WARN("%1 is used by another condition, not choosing it for %2", value.toInt(), shown);
        updateShownValues();
        return;
    }
    LOG_NORMAL("Changing the choice of %1 to %2...", shown, value.toInt());
    saveAfterUserChange(storeChoice(*shown, value.toInt()));
}

void ExclusiveChoiceConditionViewController::saveAfterUserChange(bool changed)
{
    if (changed)
        helpers()->saveDataToDiskUsingChangeBackup(true);
}
