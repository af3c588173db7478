#pragma once
// Follows the startup conditions of the items of a list (added, removed,
// renamed, reordered) and asks for the badges of the items concerned to be
// laid out again, once per burst of changes: a paste of several conditions
// or a reorder costs one layout, a tenth of a second after the last change.
//
// Main thread only.
#include "model/ObjectID.h"

#include <QObject>
#include <QSet>
#include <QTimer>
#include <memory>
#include <vector>

class DBLoginItem;

class ConditionBadgesObserver : public QObject {
    Q_OBJECT
public:
    static constexpr int LayoutDelayMs = 100;

    explicit ConditionBadgesObserver(QObject* parent = nullptr);
    ~ConditionBadgesObserver() override;

    // Observes exactly these items from now on.
    void setItems(const QList<DBLoginItem*>& items);

Q_SIGNALS:
    void badgesLayoutRequested(const QList<ObjectID>& items);

private:
    class ItemObservation;

    void requestLayout(const ObjectID& item);
    void emitPendingLayout();

    bool m_observing = false;
    std::vector<std::unique_ptr<ItemObservation>> m_observations;
    QSet<ObjectID> m_pending;
    QTimer m_layoutTimer;
};
