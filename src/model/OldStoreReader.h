#pragma once
// Reads a SQLite store of an older release under one of the OldStoreModel
// versions. The file is hostile input: a value of the wrong type, a key that
// names no object or a file that is no database fails the read with an error;
// nothing here can crash on it.
//
// SQLite may write the file it opens (to replay a write-ahead log or roll back
// a journal), so give it a private copy, never the user's store.
#include "foundation/Error.h"
#include "model/OldStoreGraph.h"
#include "model/OldStoreModel.h"

#include <QHash>
#include <QSet>
#include <memory>
#include <optional>

struct sqlite3;

class OldStoreReader {
public:
    // Opens the store and reads its catalogue; null with error when it cannot.
    static std::unique_ptr<OldStoreReader> open(const QString& path, Error* error);
    ~OldStoreReader();
    OldStoreReader(const OldStoreReader&) = delete;
    OldStoreReader& operator=(const OldStoreReader&) = delete;

    // Whether the store has the tables and columns that tell the model's version.
    bool matches(const OldStoreModel& model) const;
    std::optional<OldStoreGraph> read(const OldStoreModel& model, Error* error) const;

private:
    explicit OldStoreReader(sqlite3* database);
    bool readCatalogue(Error* error);
    bool hasColumn(const QString& rootEntity, const QString& name) const;
    bool readTable(const OldStoreModel& model, const QString& root, OldStoreGraph* graph, Error* error) const;
    bool readManyToMany(const OldStoreModel::ManyToMany& relationship, OldStoreGraph* graph, Error* error) const;
    QString joinTable(const OldStoreModel::ManyToMany& relationship) const;
    Error failure(const QString& text) const;

    sqlite3* const m_database;
    QHash<QString, qint64> m_entityNumbers;
    QHash<qint64, QString> m_entityNames;
    // Table name -> its column names.
    QHash<QString, QSet<QString>> m_columns;
};
