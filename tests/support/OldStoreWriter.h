#pragma once
// Writes SQLite stores in the table layout of the older releases (one table
// per root entity, the entity catalogue, join tables), with the entity and
// attribute names of each model version spelt out here rather than taken
// from the code under test.
#include <QString>
#include <QVariantMap>

struct sqlite3;

class OldStoreWriter {
public:
    enum Version { Version2 = 2, Version3 = 3 };
    // Creates the store with the tables of the version. With walOnly, every
    // row written later stays in the write-ahead log ("-wal"), as after a
    // crash of the program that wrote it.
    OldStoreWriter(const QString& path, Version version, bool walOnly = false);
    ~OldStoreWriter();
    OldStoreWriter(const OldStoreWriter&) = delete;
    OldStoreWriter& operator=(const OldStoreWriter&) = delete;

    // One row; values by column name ("Z_PK", "ZITEMPATH"), a null QVariant for NULL.
    void insert(const QString& table, const QVariantMap& columns);
    void exec(const QString& sql);
    // The row of an entity of the catalogue, by its name.
    void insertObject(const QString& entity, qint64 key, QVariantMap columns);
    // Item and condition linked in the join table of the version.
    void link(qint64 item, qint64 condition);
    qint64 entityNumber(const QString& entity) const;

    // Seconds since the start of 2001 of a UTC time on 1 October 2006.
    static double referenceSeconds(int hour, int minute);

private:
    sqlite3* m_database = nullptr;
    Version m_version;
};
