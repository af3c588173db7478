#pragma once
// The rows of the inspector's conditions table: one per row editor, in the
// editors' order, showing the condition's name to screen readers and
// scripted checks (the editor widget itself covers the cell).
//
// Rows are dragged as the conditions' object IDs under a private MIME type,
// marked with this model's own token, so a drop is only ever taken from this
// table. Drops land between rows; a drop onto a row is refused. The payload
// is hostile input: anything malformed or unknown changes nothing.
#include "model/ObjectID.h"

#include <QAbstractListModel>
#include <QList>
#include <QUuid>
#include <optional>

class DBStartupCondition;
class ManagedObject;

class StartupConditionRowsModel : public QAbstractListModel {
    Q_OBJECT
public:
    static const QString mimeType;

    explicit StartupConditionRowsModel(QObject* parent = nullptr);

    // Replaces every row.
    void setConditions(const QList<DBStartupCondition*>& conditions);
    const QList<DBStartupCondition*>& conditions() const { return m_conditions; }
    // The rows of the changed objects among them read their names again.
    void objectsDidChange(const QList<ManagedObject*>& changed);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    Qt::DropActions supportedDragActions() const override { return Qt::MoveAction; }
    Qt::DropActions supportedDropActions() const override { return Qt::MoveAction; }
    QStringList mimeTypes() const override { return { mimeType }; }
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column, const QModelIndex& parent) const override;
    // Hands the dragged IDs and the drop row to rowsDropped.
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column, const QModelIndex& parent) override;

    // The object IDs of a payload this model wrote; nothing for anything else.
    std::optional<QList<ObjectID>> draggedObjectIDs(const QMimeData* data) const;

Q_SIGNALS:
    // row is the drop position in 0..rowCount.
    void rowsDropped(const QList<ObjectID>& objectIDs, int row);

private:
    QList<DBStartupCondition*> m_conditions;
    // Tells this table's drags from any other's, in this process or another.
    const QUuid m_token = QUuid::createUuid();
};
