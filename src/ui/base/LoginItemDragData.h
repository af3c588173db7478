#pragma once
// The drag record of item rows, written by both item lists: one record per
// dragged row, in list order, with the item's name, its row, its list and
// its object ID. Records name the process that wrote them; rows of another
// process (or of an earlier run) are never read, and a reader still checks
// each ID and row against its own database before it acts on them.
#include "model/ModelEnumerations.h"
#include "model/ObjectID.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

class LoginItemDragData {
public:
    struct Row {
        QString description;
        int index = -1;
        LoginGroupType group = LoginGroupTypeApplication;
        ObjectID objectID;
    };

    static const QString mimeType;

    // A JSON array of records marked with this process.
    static QByteArray encode(const QList<Row>& rows);
    // Nothing unless data holds at least one record, every record is whole,
    // of one list, marked with this process and names an item once.
    static std::optional<QList<Row>> decode(const QByteArray& data);

    // The process's mark: its ID and a token drawn at start, so that a later
    // process with the same ID does not pass.
    static const QString& processMark();
};
