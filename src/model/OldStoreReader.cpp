#include "model/OldStoreReader.h"

#include "foundation/Log.h"
#include "foundation/MHErrors.h"

#include <QRegularExpression>
#include <algorithm>
#include <limits>
#include <sqlite3.h>

namespace {

// More rows than any real database holds: a store that claims more is refused
// before it can exhaust memory.
constexpr qint64 kMaximumRows = 200000;

// One prepared statement, finalised on every way out.
class Statement {
public:
    Statement(sqlite3* database, const QString& sql)
    {
        const QByteArray text = sql.toUtf8();
        m_result = sqlite3_prepare_v2(database, text.constData(), int(text.size()), &m_statement, nullptr);
    }
    ~Statement() { sqlite3_finalize(m_statement); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool isValid() const { return m_result == SQLITE_OK && m_statement; }
    void bind(int index, const QString& text)
    {
        const QByteArray bytes = text.toUtf8();
        sqlite3_bind_text(m_statement, index, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
    }
    // True for a row; false at the end or on an error (then done() is false).
    bool step()
    {
        m_result = sqlite3_step(m_statement);
        return m_result == SQLITE_ROW;
    }
    bool done() const { return m_result == SQLITE_DONE; }
    int type(int column) const { return sqlite3_column_type(m_statement, column); }
    qint64 integer(int column) const { return sqlite3_column_int64(m_statement, column); }
    double real(int column) const { return sqlite3_column_double(m_statement, column); }
    QString text(int column) const
    {
        const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
        return QString::fromUtf8(bytes, sqlite3_column_bytes(m_statement, column));
    }

private:
    sqlite3_stmt* m_statement = nullptr;
    int m_result = SQLITE_OK;
};

QString quoted(const QString& identifier)
{
    QString escaped = identifier;
    return QLatin1Char('"') + escaped.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

QString typeName(int type)
{
    switch (type) {
    case SQLITE_INTEGER:
        return QStringLiteral("integer");
    case SQLITE_FLOAT:
        return QStringLiteral("real");
    case SQLITE_TEXT:
        return QStringLiteral("text");
    case SQLITE_BLOB:
        return QStringLiteral("blob");
    default:
        return QStringLiteral("null");
    }
}

// The value of a column in the attribute's type; false for a stored value of
// another type. NULL is an absent value.
bool columnValue(const Statement& row, int column, OldStoreModel::Type type, QVariant* value)
{
    using Type = OldStoreModel::Type;
    const int stored = row.type(column);
    *value = QVariant();
    if (stored == SQLITE_NULL)
        return true;
    switch (type) {
    case Type::Integer:
        if (stored != SQLITE_INTEGER || row.integer(column) < std::numeric_limits<int32_t>::min()
            || row.integer(column) > std::numeric_limits<int32_t>::max())
            return false;
        *value = QVariant(int32_t(row.integer(column)));
        return true;
    case Type::Double:
    case Type::Date:
        // Dates are seconds since the start of 2001; the converter checks their range.
        if (stored != SQLITE_INTEGER && stored != SQLITE_FLOAT)
            return false;
        *value = QVariant(row.real(column));
        return true;
    case Type::String:
        if (stored != SQLITE_TEXT)
            return false;
        *value = QVariant(row.text(column));
        return true;
    }
    return false;
}

} // namespace

std::unique_ptr<OldStoreReader> OldStoreReader::open(const QString& path, Error* error)
{
    sqlite3* database = nullptr;
    const int result = sqlite3_open_v2(path.toUtf8().constData(), &database, SQLITE_OPEN_READWRITE, nullptr);
    std::unique_ptr<OldStoreReader> reader(new OldStoreReader(database));
    if (result != SQLITE_OK) {
        *error = reader->failure(QStringLiteral("cannot open %1").arg(path));
        return nullptr;
    }
    // The schema of a hostile file must not run anything of its own.
    sqlite3_db_config(database, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(database, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_db_config(database, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
    sqlite3_db_config(database, SQLITE_DBCONFIG_ENABLE_VIEW, 0, nullptr);
    if (!reader->readCatalogue(error))
        return nullptr;
    return reader;
}

OldStoreReader::OldStoreReader(sqlite3* database)
    : m_database(database)
{
}

OldStoreReader::~OldStoreReader()
{
    sqlite3_close(m_database);
}

Error OldStoreReader::failure(const QString& text) const
{
    const QString reason = m_database && sqlite3_errcode(m_database) != SQLITE_OK && sqlite3_errcode(m_database) != SQLITE_DONE
        ? QStringLiteral(" (%1)").arg(QString::fromUtf8(sqlite3_errmsg(m_database)))
        : QString();
    return Error(MHErrors::domain, MHErrors::MHErrorCodeCoreDataInitializationFailed,
                 QStringLiteral("The old database cannot be read: %1%2").arg(text, reason));
}

bool OldStoreReader::readCatalogue(Error* error)
{
    Statement tables(m_database, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"));
    if (!tables.isValid()) {
        *error = failure(QStringLiteral("it is no database"));
        return false;
    }
    while (tables.step()) {
        const QString table = tables.text(0);
        Statement columns(m_database, QStringLiteral("SELECT name FROM pragma_table_info(?1)"));
        if (!columns.isValid()) {
            *error = failure(QStringLiteral("the columns of %1 cannot be listed").arg(table));
            return false;
        }
        columns.bind(1, table);
        QSet<QString>& names = m_columns[table];
        while (columns.step())
            names.insert(columns.text(0));
        if (!columns.done()) {
            *error = failure(QStringLiteral("the columns of %1 cannot be listed").arg(table));
            return false;
        }
    }
    if (!tables.done()) {
        *error = failure(QStringLiteral("its tables cannot be listed"));
        return false;
    }

    Statement catalogue(m_database, QStringLiteral("SELECT Z_ENT, Z_NAME FROM Z_PRIMARYKEY"));
    if (!catalogue.isValid()) {
        *error = failure(QStringLiteral("it has no entity catalogue"));
        return false;
    }
    while (catalogue.step()) {
        if (catalogue.type(0) != SQLITE_INTEGER || catalogue.type(1) != SQLITE_TEXT) {
            *error = failure(QStringLiteral("its entity catalogue holds a %1 and a %2 where a number and a name belong")
                                 .arg(typeName(catalogue.type(0)), typeName(catalogue.type(1))));
            return false;
        }
        m_entityNumbers.insert(catalogue.text(1), catalogue.integer(0));
        m_entityNames.insert(catalogue.integer(0), catalogue.text(1));
    }
    if (!catalogue.done()) {
        *error = failure(QStringLiteral("its entity catalogue cannot be read"));
        return false;
    }
    return true;
}

bool OldStoreReader::hasColumn(const QString& rootEntity, const QString& name) const
{
    return m_columns.value(OldStoreModel::tableName(rootEntity)).contains(OldStoreModel::columnName(name));
}

bool OldStoreReader::matches(const OldStoreModel& model) const
{
    for (const QString& pair : model.signature) {
        const QString root = pair.section(QLatin1Char('.'), 0, 0);
        if (!m_entityNumbers.contains(root) || !hasColumn(root, pair.section(QLatin1Char('.'), 1)))
            return false;
    }
    return true;
}

std::optional<OldStoreGraph> OldStoreReader::read(const OldStoreModel& model, Error* error) const
{
    OldStoreGraph graph;
    graph.modelName = model.name;
    for (const QString& root : model.rootEntities())
        if (!readTable(model, root, &graph, error))
            return std::nullopt;

    // Every key must name an object: a dangling one means a damaged store.
    for (const OldStoreModel::Entity& entity : model.entities) {
        for (const OldStoreModel::ToOne& relationship : entity.toOne) {
            for (const OldStoreObject& object : std::as_const(graph.objects[entity.root])) {
                if (object.entity != entity.name || !object.toOne.contains(relationship.name))
                    continue;
                if (!graph.objects.value(relationship.destination).contains(object.toOne.value(relationship.name))) {
                    *error = failure(QStringLiteral("a %1 refers to the missing %2 %3")
                                         .arg(entity.name, relationship.destination)
                                         .arg(object.toOne.value(relationship.name)));
                    return std::nullopt;
                }
            }
        }
    }
    for (const OldStoreModel::ManyToMany& relationship : model.manyToMany)
        if (!readManyToMany(relationship, &graph, error))
            return std::nullopt;
    return graph;
}

bool OldStoreReader::readTable(const OldStoreModel& model, const QString& root, OldStoreGraph* graph, Error* error) const
{
    const QString table = OldStoreModel::tableName(root);
    if (!m_columns.contains(table))
        return true;
    // Every column any entity of this root stores, as far as the table has it.
    QStringList columns { QStringLiteral("Z_PK"), QStringLiteral("Z_ENT") };
    for (const OldStoreModel::Entity& entity : model.entities) {
        if (entity.root != root)
            continue;
        for (const OldStoreModel::Attribute& attribute : entity.attributes)
            if (hasColumn(root, attribute.name) && !columns.contains(OldStoreModel::columnName(attribute.name)))
                columns.append(OldStoreModel::columnName(attribute.name));
        for (const OldStoreModel::ToOne& relationship : entity.toOne)
            if (hasColumn(root, relationship.name) && !columns.contains(OldStoreModel::columnName(relationship.name)))
                columns.append(OldStoreModel::columnName(relationship.name));
    }
    QStringList quotedColumns;
    for (const QString& column : std::as_const(columns))
        quotedColumns.append(quoted(column));
    Statement rows(m_database, QStringLiteral("SELECT %1 FROM %2").arg(quotedColumns.join(QLatin1String(", ")), quoted(table)));
    if (!rows.isValid()) {
        *error = failure(QStringLiteral("the table %1 cannot be read").arg(table));
        return false;
    }

    QMap<qint64, OldStoreObject>& objects = graph->objects[root];
    while (rows.step()) {
        if (rows.type(0) != SQLITE_INTEGER || rows.type(1) != SQLITE_INTEGER) {
            *error = failure(QStringLiteral("a row of %1 has no key or entity number").arg(table));
            return false;
        }
        const qint64 key = rows.integer(0);
        if (objects.contains(key) || objects.size() >= kMaximumRows) {
            *error = failure(QStringLiteral("the table %1 repeats the key %2 or holds too many rows").arg(table).arg(key));
            return false;
        }
        const QString entityName = m_entityNames.value(rows.integer(1));
        const OldStoreModel::Entity* entity = model.entity(entityName);
        if (!entity || entity->root != root) {
            LOG_WARN("Skipping row %1 of %2: its entity %3 is not part of %4", key, table, entityName, model.name);
            continue;
        }
        OldStoreObject object;
        object.entity = entityName;
        for (const OldStoreModel::Attribute& attribute : entity->attributes) {
            const int column = int(columns.indexOf(OldStoreModel::columnName(attribute.name)));
            QVariant value;
            if (column < 0)
                continue;
            if (!columnValue(rows, column, attribute.type, &value)) {
                *error = failure(QStringLiteral("%1 of %2 %3 holds a %4 of the wrong type")
                                     .arg(attribute.name, entityName)
                                     .arg(key)
                                     .arg(typeName(rows.type(column))));
                return false;
            }
            if (value.isValid())
                object.values.insert(attribute.name, value);
        }
        for (const OldStoreModel::ToOne& relationship : entity->toOne) {
            const int column = int(columns.indexOf(OldStoreModel::columnName(relationship.name)));
            if (column < 0 || rows.type(column) == SQLITE_NULL)
                continue;
            if (rows.type(column) != SQLITE_INTEGER) {
                *error = failure(QStringLiteral("%1 of %2 %3 holds a %4 where a key belongs")
                                     .arg(relationship.name, entityName)
                                     .arg(key)
                                     .arg(typeName(rows.type(column))));
                return false;
            }
            object.toOne.insert(relationship.name, rows.integer(column));
        }
        objects.insert(key, object);
    }
    if (!rows.done()) {
        *error = failure(QStringLiteral("the table %1 cannot be read to its end").arg(table));
        return false;
    }
    return true;
}

QString OldStoreReader::joinTable(const OldStoreModel::ManyToMany& relationship) const
{
    static const QRegularExpression pattern(QStringLiteral("^Z_\\d+([A-Z0-9_]+)$"));
    for (auto it = m_columns.cbegin(); it != m_columns.cend(); ++it) {
        const QRegularExpressionMatch match = pattern.match(it.key());
        if (match.hasMatch()
            && (match.captured(1) == relationship.name.toUpper() || match.captured(1) == relationship.inverse.toUpper()))
            return it.key();
    }
    return QString();
}

bool OldStoreReader::readManyToMany(const OldStoreModel::ManyToMany& relationship, OldStoreGraph* graph, Error* error) const
{
    const QString table = joinTable(relationship);
    if (table.isEmpty())
        return true;
    // Each column starts with the number of the entity whose keys it holds.
    static const QRegularExpression pattern(QStringLiteral("^Z_(\\d+)[A-Z]"));
    QString sourceColumn;
    QString destinationColumn;
    for (const QString& column : m_columns.value(table)) {
        const QRegularExpressionMatch match = pattern.match(column);
        if (!match.hasMatch())
            continue;
        const qint64 number = match.captured(1).toLongLong();
        if (number == m_entityNumbers.value(relationship.root, -1))
            sourceColumn = column;
        else if (number == m_entityNumbers.value(relationship.destination, -1))
            destinationColumn = column;
    }
    if (sourceColumn.isEmpty() || destinationColumn.isEmpty()) {
        *error = failure(QStringLiteral("the columns of the join table %1 name no %2 and %3").arg(table, relationship.root, relationship.destination));
        return false;
    }
    Statement rows(m_database, QStringLiteral("SELECT %1, %2 FROM %3").arg(quoted(sourceColumn), quoted(destinationColumn), quoted(table)));
    if (!rows.isValid()) {
        *error = failure(QStringLiteral("the join table %1 cannot be read").arg(table));
        return false;
    }
    QMap<qint64, OldStoreObject>& sources = graph->objects[relationship.root];
    const QMap<qint64, OldStoreObject>& destinations = graph->objects[relationship.destination];
    qint64 count = 0;
    while (rows.step()) {
        const qint64 source = rows.integer(0);
        const qint64 destination = rows.integer(1);
        if (rows.type(0) != SQLITE_INTEGER || rows.type(1) != SQLITE_INTEGER || !sources.contains(source)
            || !destinations.contains(destination) || ++count > kMaximumRows) {
            *error = failure(QStringLiteral("the join table %1 links a missing %2 or %3").arg(table, relationship.root, relationship.destination));
            return false;
        }
        sources[source].toMany[relationship.name].append(destination);
    }
    if (!rows.done()) {
        *error = failure(QStringLiteral("the join table %1 cannot be read to its end").arg(table));
        return false;
    }
    // A link the table repeats counts once.
    for (OldStoreObject& object : sources) {
        QList<qint64>& keys = object.toMany[relationship.name];
        std::sort(keys.begin(), keys.end());
        keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    }
    return true;
}
