#pragma once
// The failed items of the last run, one row each: the item's name and icon,
// the error's message, and a cell that shows the item in the file manager.
// A record keeps what it was made with, so an item deleted since changes
// nothing.
#include "foundation/Error.h"

#include <QAbstractTableModel>
#include <QList>
#include <optional>

struct ExecutionErrorRecord {
    QString itemDisplayName;
    QString itemIconName;
    QString itemPath;
    std::optional<Error> error;
    QString errorMessage;
};

class ExecutionErrorsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { NameColumn, ErrorColumn, RevealColumn, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    void appendRecord(const ExecutionErrorRecord& record);
    void removeAllRecords();
    const QList<ExecutionErrorRecord>& records() const { return m_records; }
    // Null for a row out of range.
    const ExecutionErrorRecord* recordAt(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QList<ExecutionErrorRecord> m_records;
};
