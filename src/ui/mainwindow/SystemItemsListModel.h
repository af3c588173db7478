#pragma once
// The new entries of the session's login items list as the system items page
// shows them: one row per record, in the records' order. A row answers its
// name (DisplayRole), its name with its description (AccessibleTextRole),
// its icon and its description (SystemItemDelegate::DescriptionRole).
//
// Names come from other programs' desktop entries; views must show them as
// plain text.
#include "engine/SystemItemData.h"

#include <QAbstractListModel>
#include <QList>

class SystemItemsListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    const QList<SystemItemData>& items() const { return m_items; }
    void setItems(QList<SystemItemData> items);
    // Null for a row out of range.
    const SystemItemData* itemAtIndex(int row) const;
    // Rows out of range are passed over.
    void removeItemsAtRows(QList<int> rows);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    QList<SystemItemData> m_items;
};
