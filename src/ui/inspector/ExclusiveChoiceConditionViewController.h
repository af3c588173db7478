#pragma once
// A condition editor whose main choice (a modifier key, a power source) may
// be taken by one condition of its kind only: its list disables the choices
// that OTHER conditions of the same kind use, so no choice is picked twice.
//
// The editors keep each other current through a notification on the
// application's notification centre, posted whenever an editor's condition
// changes its choice — by the user, by undo and redo, or from elsewhere. The
// inspector also asks them to look again when conditions come and go.
#include "foundation/NotificationCenter.h"
#include "model/MHKVONotificationHelper.h"
#include "ui/inspector/StartupConditionViewControllerBase.h"

#include <QLatin1String>
#include <memory>
#include <vector>

class ChoicePopUpButton;
class QHBoxLayout;
class QLabel;

class ExclusiveChoiceConditionViewController : public StartupConditionViewControllerBase {
    Q_OBJECT
public:
    ~ExclusiveChoiceConditionViewController() override;

    bool isChoiceAllowed(int32_t value) const;
    ChoicePopUpButton* choiceView() const { return m_choiceView; }
    QLabel* explanationView() const { return m_explanationView; }

protected:
    struct Choice {
        QString title;
        int32_t value;
    };
    struct Kind {
        int32_t conditionType;
        QLatin1String changeNotification;
        // The text before the list, and the list's names.
        QString explanation;
        QString choiceObjectName;
        QString choiceAccessibleName;
        // Of the condition, to the stored choice.
        QString choiceKeyPath;
        QList<Choice> choices;
    };

    explicit ExclusiveChoiceConditionViewController(Kind kind);

    // The choice the stored value counts as when conditions are judged, or
    // nothing (-1) when it counts as none of them.
    virtual int32_t judgedChoiceOfCondition(const DBStartupCondition& condition) const = 0;
    // The user's choice, as one named undo step; false when nothing changed.
    virtual bool storeChoice(DBStartupCondition& condition, int32_t value) = 0;
    // Refreshes every control from the model; subclasses add theirs.
    virtual void updateShownValues();
    // Further key paths of the condition whose changes refresh the controls.
    virtual QStringList observedKeyPaths() const { return {}; }

    void awakeFromNib() override;
    void representedObjectChangedFrom(const QVariant& previous, const QVariant& current) override;
    // The line of controls under the name: the explanation and the choice
    // list, then what the subclass adds.
    QHBoxLayout* controlsLayout() const { return m_controlsLayout; }
    void updateAllowedChoices();
    void saveAfterUserChange(bool changed);

private:
    void setupObservations();
    void choiceChanged(const QVariant& value);
    void choiceDidChangeInModel();

    const Kind m_kind;
    QList<bool> m_allowed;
    ChoicePopUpButton* m_choiceView = nullptr;
    QLabel* m_explanationView = nullptr;
    QHBoxLayout* m_controlsLayout = nullptr;
    NotificationCenter::Token m_choiceChangedObserver;
    std::vector<std::unique_ptr<MHKVONotificationHelper>> m_observations;
};
