#include "platform/objectstore/SqliteStore.h"

#include "platform/InternalError.h"
#include "platform/objectstore/SqliteDecimalFunctions.h"
#include "platform/objectstore/SqliteStoreError.h"
#include "platform/objectstore/SqliteTransaction.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <sqlite3.h>

namespace vantrel::objectstore {

namespace {

using platform::Amount;

constexpr auto kMetadataTable = "vt_metadata";
constexpr auto kVersionKey = "modelVersion";
// Followed by the entity name: the highest key ever saved, so keys of deleted objects stay used.
constexpr auto kLastKeyPrefix = "lastKey/";
constexpr int kBusyTimeoutMs = 5000;

// Entity names such as "Transaction" and "Group" are SQL keywords.
std::string quoted(const QString& name) {
    std::string text = name.toStdString();
    std::string result = "\"";
    for (const char c : text) {
        result += c;
        if (c == '"') {
            result += '"';
        }
    }
    return result + '"';
}

std::string join(const std::vector<std::string>& parts, const char* separator) {
    std::string result;
    for (const auto& part : parts) {
        if (!result.empty()) {
            result += separator;
        }
        result += part;
    }
    return result;
}

const char* sqlType(AttributeType type) {
    switch (type) {
    case AttributeType::String:
    case AttributeType::Archived:
    case AttributeType::Decimal:
        return "TEXT";
    case AttributeType::Date:
    case AttributeType::Integer:
    case AttributeType::Boolean:
        return "INTEGER";
    }
    return "TEXT";
}

const char* typeName(AttributeType type) {
    switch (type) {
    case AttributeType::String:
        return "string";
    case AttributeType::Archived:
        return "archived";
    case AttributeType::Decimal:
        return "decimal";
    case AttributeType::Date:
        return "date";
    case AttributeType::Integer:
        return "integer";
    case AttributeType::Boolean:
        return "boolean";
    }
    return "unknown";
}

// One stored cell as a value of the attribute's type; nothing when the storage class does not fit
// the type or a decimal does not parse (a corrupt file).
std::optional<Value> readValue(const SqliteStatement& statement, int column, AttributeType type) {
    const int storage = statement.columnType(column);
    if (storage == SQLITE_NULL) {
        return Value();
    }
    switch (type) {
    case AttributeType::String:
    case AttributeType::Archived:
        if (storage == SQLITE_TEXT) {
            const auto text = statement.columnText(column);
            return Value(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
        }
        break;
    case AttributeType::Decimal:
        if (storage == SQLITE_TEXT) {
            if (auto amount = Amount::fromAscii(statement.columnText(column))) {
                return Value(*amount);
            }
        }
        break;
    case AttributeType::Date:
        if (storage == SQLITE_INTEGER) {
            return Value(QDateTime::fromMSecsSinceEpoch(statement.columnInt64(column), Qt::UTC));
        }
        break;
    case AttributeType::Integer:
        if (storage == SQLITE_INTEGER) {
            return Value(statement.columnInt64(column));
        }
        break;
    case AttributeType::Boolean:
        if (storage == SQLITE_INTEGER) {
            return Value(statement.columnInt64(column) != 0);
        }
        break;
    }
    return std::nullopt;
}

QString describeCell(const SqliteStatement& statement, int column) {
    if (statement.columnType(column) == SQLITE_TEXT) {
        return QStringLiteral("'%1'").arg(
            QString::fromUtf8(statement.columnText(column).data(),
                              static_cast<qsizetype>(statement.columnText(column).size())));
    }
    return QStringLiteral("a value of SQLite storage class %1").arg(statement.columnType(column));
}

} // namespace

std::unique_ptr<SqliteStore> SqliteStore::open(const QString& path, const ModelDescription& model) {
    SqliteDatabase database(path);
    sqlite3_busy_timeout(database.handle(), kBusyTimeoutMs);
    // The first read of the header: a file that is not a database fails here.
    if (sqlite3_exec(database.handle(), "SELECT count(*) FROM sqlite_schema", nullptr, nullptr, nullptr) !=
        SQLITE_OK) {
        database.fail(QStringLiteral("Not a readable store file"));
    }
    {
        auto journal = database.prepare("PRAGMA journal_mode=WAL");
        if (!journal.step() || journal.columnText(0) != "wal") {
            database.fail(QStringLiteral("Cannot switch the store to write-ahead logging"));
        }
    }
    // A save of a large import touches index pages all over the file; with SQLite's default 2 MB
    // page cache it spills pages to the log in the middle of the transaction and reads them back.
    database.execute("PRAGMA synchronous=FULL; PRAGMA foreign_keys=OFF; PRAGMA cache_size=-65536");
    SqliteDecimalFunctions::registerOn(database);

    auto store = std::make_unique<SqliteStore>(PrivateTag{}, model, std::move(database));
    store->prepareSchema();
    store->loadKeyCounters();
    return store;
}

SqliteStore::SqliteStore(PrivateTag, const ModelDescription& model, SqliteDatabase database)
    : m_model(model)
    , m_database(std::move(database))
    , m_nextKeys(model.entities().size(), 1) {
    // SQLite names are case-insensitive; a clash would only show as a failed CREATE at run time.
    QSet<QString> tableNames{QString::fromLatin1(kMetadataTable).toLower()};
    for (const auto& entity : model.entities()) {
        const QString lower = entity.name().toLower();
        if (entity.name().isEmpty() || lower.startsWith(QLatin1String("sqlite_")) ||
            tableNames.contains(lower)) {
            throw platform::InternalError(
                QStringLiteral("Entity name %1 cannot be a table").arg(entity.name()));
        }
        tableNames.insert(lower);

        Table table;
        table.name = quoted(entity.name());
        QSet<QString> columnNames{QStringLiteral("pk")};
        auto addColumn = [&](const QString& name) {
            if (name.isEmpty() || columnNames.contains(name.toLower())) {
                throw platform::InternalError(
                    QStringLiteral("Property %1.%2 cannot be a column").arg(entity.name(), name));
            }
            columnNames.insert(name.toLower());
            return quoted(name);
        };
        std::vector<std::string> selected{"\"pk\""};
        for (const auto& attribute : entity.attributes()) {
            table.attributeColumns.push_back(addColumn(attribute.name));
            selected.push_back(table.attributeColumns.back());
        }
        for (std::size_t i = 0; i < entity.relationships().size(); ++i) {
            const auto& relationship = entity.relationships()[i];
            table.destinations.push_back(*model.entityIndex(relationship.destination));
            if (relationship.cardinality == Cardinality::ToOne) {
                table.relationshipColumns.push_back(addColumn(relationship.name));
                table.toOneRelationships.push_back(static_cast<int>(i));
                selected.push_back(table.relationshipColumns.back());
            } else {
                table.relationshipColumns.emplace_back();
            }
        }
        std::vector<std::string> parameters;
        for (std::size_t i = 1; i <= selected.size(); ++i) {
            parameters.push_back('?' + std::to_string(i));
        }
        table.selectAll = "SELECT " + join(selected, ", ") + " FROM " + table.name + " ORDER BY \"pk\"";
        table.insert = "INSERT INTO " + table.name + " (" + join(selected, ", ") + ") VALUES (" +
                       join(parameters, ", ") + ")";
        table.remove = "DELETE FROM " + table.name + " WHERE \"pk\" = ?1";
        m_tables.push_back(std::move(table));
    }
}

SqliteStore::~SqliteStore() = default;

void SqliteStore::prepareSchema() {
    std::lock_guard lock(m_databaseMutex);
    SqliteTransaction transaction(m_database);
    auto hasMetadata = m_database.prepare("SELECT 1 FROM sqlite_schema WHERE type = 'table' AND name = ?1");
    hasMetadata.bindText(1, std::string_view(kMetadataTable));
    if (!hasMetadata.step()) {
        auto tables = m_database.prepare("SELECT count(*) FROM sqlite_schema WHERE type = 'table' AND name "
                                         "NOT LIKE 'sqlite\\_%' ESCAPE '\\'");
        tables.step();
        if (tables.columnInt64(0) > 0) {
            throw SqliteStoreError(QStringLiteral("Not a Vantrel store: the file holds other tables"),
                                   m_database.path());
        }
        createSchema();
        m_schemaVersion = m_model.version();
    } else {
        auto version =
            m_database.prepare(std::string("SELECT value FROM ") + kMetadataTable + " WHERE name = ?1");
        version.bindText(1, std::string_view(kVersionKey));
        if (!version.step() || version.columnType(0) != SQLITE_INTEGER) {
            throw SqliteStoreError(QStringLiteral("The store records no model version"), m_database.path());
        }
        const std::int64_t stored = version.columnInt64(0);
        if (stored > m_model.version()) {
            throw SqliteStoreError(QStringLiteral("The store was written by a newer version of Vantrel "
                                                  "(model version %1; this version reads up to %2)")
                                       .arg(stored)
                                       .arg(m_model.version()),
                                   m_database.path());
        }
        if (stored < m_model.version()) {
            throw SqliteStoreError(QStringLiteral("The store has model version %1 and needs migration to "
                                                  "version %2")
                                       .arg(stored)
                                       .arg(m_model.version()),
                                   m_database.path());
        }
        m_schemaVersion = static_cast<int>(stored);
        checkSchema();
    }
    transaction.commit();
}

void SqliteStore::createSchema() {
    std::string sql =
        std::string("CREATE TABLE ") + kMetadataTable + " (name TEXT PRIMARY KEY NOT NULL, value);";
    for (std::size_t e = 0; e < m_tables.size(); ++e) {
        const auto& entity = m_model.entity(static_cast<int>(e));
        const auto& table = m_tables[e];
        std::vector<std::string> columns{"\"pk\" INTEGER PRIMARY KEY"};
        std::vector<std::string> indexed;
        for (std::size_t a = 0; a < entity.attributes().size(); ++a) {
            columns.push_back(table.attributeColumns[a] + ' ' + sqlType(entity.attributes()[a].type));
            if (entity.attributes()[a].indexed) {
                indexed.push_back(entity.attributes()[a].name.toStdString());
            }
        }
        for (const int r : table.toOneRelationships) {
            columns.push_back(table.relationshipColumns[static_cast<std::size_t>(r)] + " INTEGER");
            indexed.push_back(entity.relationships()[static_cast<std::size_t>(r)].name.toStdString());
        }
        sql += "CREATE TABLE " + table.name + " (" + join(columns, ", ") + ");";
        for (const auto& column : indexed) {
            const QString name =
                QStringLiteral("vt_index_%1_%2").arg(entity.name(), QString::fromStdString(column));
            sql += "CREATE INDEX " + quoted(name) + " ON " + table.name + " (" +
                   quoted(QString::fromStdString(column)) + ");";
        }
    }
    m_database.execute(sql.c_str());
    auto version =
        m_database.prepare(std::string("INSERT INTO ") + kMetadataTable + " (name, value) VALUES (?1, ?2)");
    version.bindText(1, std::string_view(kVersionKey));
    version.bindInt64(2, m_model.version());
    version.run();
}

void SqliteStore::checkSchema() const {
    auto columns = m_database.prepare("SELECT name FROM pragma_table_info(?1)");
    for (const auto& entity : m_model.entities()) {
        columns.reset();
        columns.bindText(1, QStringView(entity.name()));
        QSet<QString> present;
        while (columns.step()) {
            const auto name = columns.columnText(0);
            present.insert(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())).toLower());
        }
        QStringList expected{QStringLiteral("pk")};
        for (const auto& attribute : entity.attributes()) {
            expected << attribute.name;
        }
        for (const auto& relationship : entity.relationships()) {
            if (relationship.cardinality == Cardinality::ToOne) {
                expected << relationship.name;
            }
        }
        for (const auto& name : expected) {
            if (!present.contains(name.toLower())) {
                throw SqliteStoreError(
                    QStringLiteral("The store does not match its model version: %1.%2 is missing")
                        .arg(entity.name(), name),
                    m_database.path());
            }
        }
    }
}

void SqliteStore::loadKeyCounters() {
    std::lock_guard lock(m_databaseMutex);
    auto lastKey =
        m_database.prepare(std::string("SELECT value FROM ") + kMetadataTable + " WHERE name = ?1");
    for (std::size_t e = 0; e < m_tables.size(); ++e) {
        auto highest = m_database.prepare("SELECT max(\"pk\") FROM " + m_tables[e].name);
        highest.step();
        std::int64_t last = highest.columnInt64(0);
        lastKey.reset();
        lastKey.bindText(1, kLastKeyPrefix + m_model.entity(static_cast<int>(e)).name().toStdString());
        if (lastKey.step()) {
            last = std::max(last, lastKey.columnInt64(0));
        }
        m_nextKeys[e] = std::max<std::int64_t>(last, 0) + 1;
    }
}

SqliteStatement& SqliteStore::statement(const std::string& sql) {
    auto found = m_statements.find(sql);
    if (found == m_statements.end()) {
        found = m_statements.emplace(sql, m_database.prepare(sql)).first;
    }
    return found->second;
}

const EntityDescription& SqliteStore::entityAt(int entity) const {
    if (entity < 0 || static_cast<std::size_t>(entity) >= m_model.entities().size()) {
        throw platform::InternalError(QStringLiteral("No entity with index %1").arg(entity));
    }
    return m_model.entity(entity);
}

std::int64_t SqliteStore::allocateKey(int entity) {
    entityAt(entity);
    std::lock_guard lock(m_keyMutex);
    return m_nextKeys[static_cast<std::size_t>(entity)]++;
}

void SqliteStore::corrupt(int entity, const std::string& column, std::int64_t key,
                          const QString& problem) const {
    throw SqliteStoreError(
        QStringLiteral("Corrupt store: %1.%2 of pk %3 holds %4")
            .arg(QString::fromStdString(tableAt(entity).name), QString::fromStdString(column))
            .arg(key)
            .arg(problem),
        m_database.path());
}

void SqliteStore::loadAll(int entity, const std::function<void(ObjectState&&)>& sink) {
    const auto& description = entityAt(entity);
    const auto& table = tableAt(entity);
    const auto& attributes = description.attributes();
    const int attributeCount = static_cast<int>(attributes.size());

    std::lock_guard lock(m_databaseMutex);
    auto& select = statement(table.selectAll);
    SqliteStatement::ScopedReset reset(select);
    while (select.step()) {
        ObjectState state;
        state.id = ObjectID{entity, select.columnInt64(0)};
        state.attributes.reserve(attributes.size());
        for (int a = 0; a < attributeCount; ++a) {
            auto value = readValue(select, 1 + a, attributes[static_cast<std::size_t>(a)].type);
            if (!value) {
                corrupt(entity, table.attributeColumns[static_cast<std::size_t>(a)], state.id.key,
                        QStringLiteral("%1, not a %2 value")
                            .arg(describeCell(select, 1 + a),
                                 QLatin1String(typeName(attributes[static_cast<std::size_t>(a)].type))));
            }
            state.attributes.push_back(std::move(*value));
        }
        state.toOne.resize(description.relationships().size());
        int column = 1 + attributeCount;
        for (const int r : table.toOneRelationships) {
            const auto index = static_cast<std::size_t>(r);
            const int storage = select.columnType(column);
            if (storage == SQLITE_INTEGER && select.columnInt64(column) > 0) {
                state.toOne[index] = ObjectID{table.destinations[index], select.columnInt64(column)};
            } else if (storage != SQLITE_NULL) {
                corrupt(entity, table.relationshipColumns[index], state.id.key,
                        describeCell(select, column) + QStringLiteral(", not a key"));
            }
            ++column;
        }
        sink(std::move(state));
    }
}

void SqliteStore::bindAttribute(SqliteStatement& statement, int parameter, const Value& value, int entity,
                                int attribute) const {
    const auto& description = m_model.entity(entity).attributes()[static_cast<std::size_t>(attribute)];
    const bool bound = std::visit(
        [&](const auto& v) {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::monostate>) {
                statement.bindNull(parameter);
                return true;
            } else if constexpr (std::is_same_v<T, QString>) {
                if (description.type != AttributeType::String &&
                    description.type != AttributeType::Archived) {
                    return false;
                }
                statement.bindText(parameter, QStringView(v));
                return true;
            } else if constexpr (std::is_same_v<T, Amount>) {
                if (description.type != AttributeType::Decimal) {
                    return false;
                }
                statement.bindText(parameter, v.toStdString());
                return true;
            } else if constexpr (std::is_same_v<T, QDateTime>) {
                if (description.type != AttributeType::Date || !v.isValid()) {
                    return false;
                }
                statement.bindInt64(parameter, v.toMSecsSinceEpoch());
                return true;
            } else if constexpr (std::is_same_v<T, std::int64_t>) {
                if (description.type != AttributeType::Integer) {
                    return false;
                }
                statement.bindInt64(parameter, v);
                return true;
            } else {
                static_assert(std::is_same_v<T, bool>);
                if (description.type != AttributeType::Boolean) {
                    return false;
                }
                statement.bindInt64(parameter, v ? 1 : 0);
                return true;
            }
        },
        value);
    if (!bound) {
        throw SqliteStoreError(QStringLiteral("Cannot save %1.%2: '%3' is not a valid %4 value")
                                   .arg(m_model.entity(entity).name(), description.name, describe(value),
                                        QLatin1String(typeName(description.type))),
                               m_database.path());
    }
}

void SqliteStore::bindToOne(SqliteStatement& statement, int parameter, const std::optional<ObjectID>& target,
                            int entity, int relationship) const {
    if (!target) {
        statement.bindNull(parameter);
        return;
    }
    const auto& table = tableAt(entity);
    if (!target->isValid() || target->entity != table.destinations[static_cast<std::size_t>(relationship)]) {
        throw SqliteStoreError(
            QStringLiteral("Cannot save %1.%2: it cannot point at entity %3, key %4")
                .arg(m_model.entity(entity).name(),
                     m_model.entity(entity).relationships()[static_cast<std::size_t>(relationship)].name)
                .arg(target->entity)
                .arg(target->key),
            m_database.path());
    }
    statement.bindInt64(parameter, target->key);
}

void SqliteStore::insertObject(const ObjectState& state) {
    const int entity = state.id.entity;
    if (entity < 0 || static_cast<std::size_t>(entity) >= m_tables.size() || state.id.key <= 0) {
        throw SqliteStoreError(QStringLiteral("Cannot insert an object with an invalid id"),
                               m_database.path());
    }
    const auto& description = m_model.entity(entity);
    const auto& table = tableAt(entity);
    if (state.attributes.size() != description.attributes().size() ||
        state.toOne.size() != description.relationships().size()) {
        throw SqliteStoreError(QStringLiteral("Cannot insert %1: its state does not match the entity")
                                   .arg(state.id.toText(m_model)),
                               m_database.path());
    }
    auto& insert = statement(table.insert);
    SqliteStatement::ScopedReset reset(insert);
    insert.bindInt64(1, state.id.key);
    int parameter = 2;
    for (std::size_t a = 0; a < state.attributes.size(); ++a) {
        bindAttribute(insert, parameter++, state.attributes[a], entity, static_cast<int>(a));
    }
    for (const int r : table.toOneRelationships) {
        bindToOne(insert, parameter++, state.toOne[static_cast<std::size_t>(r)], entity, r);
    }
    insert.run();
}

void SqliteStore::updateObject(const ObjectUpdate& update) {
    const int entity = update.id.entity;
    if (entity < 0 || static_cast<std::size_t>(entity) >= m_tables.size() || update.id.key <= 0) {
        throw SqliteStoreError(QStringLiteral("Cannot update an object with an invalid id"),
                               m_database.path());
    }
    if (update.attributes.empty() && update.toOne.empty()) {
        return;
    }
    const auto& description = m_model.entity(entity);
    const auto& table = tableAt(entity);
    std::vector<std::string> assignments;
    int parameter = 2;
    for (const auto& [index, value] : update.attributes) {
        if (index < 0 || static_cast<std::size_t>(index) >= description.attributes().size()) {
            throw SqliteStoreError(
                QStringLiteral("Cannot update %1: no attribute %2").arg(update.id.toText(m_model)).arg(index),
                m_database.path());
        }
        assignments.push_back(table.attributeColumns[static_cast<std::size_t>(index)] + " = ?" +
                              std::to_string(parameter++));
    }
    for (const auto& [index, target] : update.toOne) {
        if (index < 0 || static_cast<std::size_t>(index) >= description.relationships().size() ||
            table.relationshipColumns[static_cast<std::size_t>(index)].empty()) {
            throw SqliteStoreError(QStringLiteral("Cannot update %1: no to-one relationship %2")
                                       .arg(update.id.toText(m_model))
                                       .arg(index),
                                   m_database.path());
        }
        assignments.push_back(table.relationshipColumns[static_cast<std::size_t>(index)] + " = ?" +
                              std::to_string(parameter++));
    }
    auto& statement =
        this->statement("UPDATE " + table.name + " SET " + join(assignments, ", ") + " WHERE \"pk\" = ?1");
    SqliteStatement::ScopedReset reset(statement);
    statement.bindInt64(1, update.id.key);
    parameter = 2;
    for (const auto& [index, value] : update.attributes) {
        bindAttribute(statement, parameter++, value, entity, index);
    }
    for (const auto& [index, target] : update.toOne) {
        bindToOne(statement, parameter++, target, entity, index);
    }
    statement.run();
    if (sqlite3_changes(m_database.handle()) == 0) {
        throw SqliteStoreError(
            QStringLiteral("Cannot update %1: it is not in the store").arg(update.id.toText(m_model)),
            m_database.path());
    }
}

void SqliteStore::deleteObject(const ObjectID& id) {
    if (id.entity < 0 || static_cast<std::size_t>(id.entity) >= m_tables.size()) {
        throw SqliteStoreError(QStringLiteral("Cannot delete an object with an invalid id"),
                               m_database.path());
    }
    auto& remove = statement(tableAt(id.entity).remove);
    SqliteStatement::ScopedReset reset(remove);
    remove.bindInt64(1, id.key);
    remove.run();
}

void SqliteStore::apply(const ChangeSet& changes) {
    if (changes.isEmpty()) {
        return;
    }
    std::vector<std::int64_t> highest(m_tables.size(), 0);
    {
        std::lock_guard lock(m_databaseMutex);
        SqliteTransaction transaction(m_database);
        for (const auto& state : changes.inserted) {
            insertObject(state);
            auto& last = highest[static_cast<std::size_t>(state.id.entity)];
            last = std::max(last, state.id.key);
        }
        for (const auto& update : changes.updated) {
            updateObject(update);
        }
        for (const auto& id : changes.deleted) {
            deleteObject(id);
        }
        auto& record = statement(std::string("INSERT INTO ") + kMetadataTable +
                                 " (name, value) VALUES (?1, ?2) "
                                 "ON CONFLICT (name) DO UPDATE SET value = max(value, excluded.value)");
        for (std::size_t e = 0; e < highest.size(); ++e) {
            if (highest[e] > 0) {
                SqliteStatement::ScopedReset reset(record);
                record.bindText(1, kLastKeyPrefix + m_model.entity(static_cast<int>(e)).name().toStdString());
                record.bindInt64(2, highest[e]);
                record.run();
            }
        }
        transaction.commit();
    }
    // Keys chosen outside allocateKey() must not be handed out again either.
    std::lock_guard lock(m_keyMutex);
    for (std::size_t e = 0; e < highest.size(); ++e) {
        m_nextKeys[e] = std::max(m_nextKeys[e], highest[e] + 1);
    }
}

std::string SqliteStore::whereClause(int entity, const std::vector<ColumnFilter>& filters) const {
    const auto& description = entityAt(entity);
    const auto& table = tableAt(entity);
    std::vector<std::string> conditions;
    for (std::size_t f = 0; f < filters.size(); ++f) {
        const auto& filter = filters[f];
        const auto index = static_cast<std::size_t>(filter.index);
        const std::string parameter = '?' + std::to_string(f + 1);
        if (filter.property == ColumnFilter::Property::Attribute) {
            if (filter.index < 0 || index >= description.attributes().size()) {
                throw platform::InternalError(
                    QStringLiteral("Filter on unknown attribute %1").arg(filter.index));
            }
            const auto& column = table.attributeColumns[index];
            if (isAbsent(filter.value)) {
                conditions.push_back(column + " IS NULL");
            } else if (description.attributes()[index].type == AttributeType::Decimal) {
                // Numeric: "12.5" and "12.50" are the same amount.
                conditions.push_back(std::string(SqliteDecimalFunctions::kCompare) + '(' + column + ", " +
                                     parameter + ") = 0");
            } else {
                conditions.push_back(column + " = " + parameter);
            }
        } else {
            if (filter.index < 0 || index >= description.relationships().size() ||
                table.relationshipColumns[index].empty()) {
                throw platform::InternalError(
                    QStringLiteral("Filter on unknown to-one %1").arg(filter.index));
            }
            conditions.push_back(table.relationshipColumns[index] +
                                 (filter.target ? " = " + parameter : " IS NULL"));
        }
    }
    return conditions.empty() ? std::string() : " WHERE " + join(conditions, " AND ");
}

void SqliteStore::bindFilters(SqliteStatement& statement, int entity,
                              const std::vector<ColumnFilter>& filters) const {
    for (std::size_t f = 0; f < filters.size(); ++f) {
        const auto& filter = filters[f];
        const int parameter = static_cast<int>(f + 1);
        if (filter.property == ColumnFilter::Property::Attribute) {
            if (!isAbsent(filter.value)) {
                bindAttribute(statement, parameter, filter.value, entity, filter.index);
            }
        } else if (filter.target) {
            bindToOne(statement, parameter, filter.target, entity, filter.index);
        }
    }
}

Amount SqliteStore::sum(int entity, int attribute, const std::vector<ColumnFilter>& filters) {
    const auto& description = entityAt(entity);
    if (attribute < 0 || static_cast<std::size_t>(attribute) >= description.attributes().size() ||
        description.attributes()[static_cast<std::size_t>(attribute)].type != AttributeType::Decimal) {
        throw platform::InternalError(
            QStringLiteral("Only decimal attributes of %1 can be summed").arg(description.name()));
    }
    const std::string sql = std::string("SELECT ") + SqliteDecimalFunctions::kSum + '(' +
                            tableAt(entity).attributeColumns[static_cast<std::size_t>(attribute)] +
                            ") FROM " + tableAt(entity).name + whereClause(entity, filters);
    std::lock_guard lock(m_databaseMutex);
    auto& select = statement(sql);
    SqliteStatement::ScopedReset reset(select);
    bindFilters(select, entity, filters);
    select.step();
    const auto total = Amount::fromAscii(select.columnText(0));
    if (!total) {
        throw SqliteStoreError(QStringLiteral("The decimal sum returned no number"), m_database.path());
    }
    return *total;
}

std::optional<Value> SqliteStore::maximum(int entity, int attribute) {
    const auto& description = entityAt(entity);
    if (attribute < 0 || static_cast<std::size_t>(attribute) >= description.attributes().size()) {
        throw platform::InternalError(
            QStringLiteral("No attribute %1 in %2").arg(attribute).arg(description.name()));
    }
    const auto type = description.attributes()[static_cast<std::size_t>(attribute)].type;
    const std::string function = type == AttributeType::Decimal ? SqliteDecimalFunctions::kMax : "max";
    const std::string sql = "SELECT " + function + '(' +
                            tableAt(entity).attributeColumns[static_cast<std::size_t>(attribute)] +
                            ") FROM " + tableAt(entity).name;
    std::lock_guard lock(m_databaseMutex);
    auto& select = statement(sql);
    SqliteStatement::ScopedReset reset(select);
    select.step();
    if (select.columnType(0) == SQLITE_NULL) {
        return std::nullopt;
    }
    auto value = readValue(select, 0, type);
    if (!value) {
        throw SqliteStoreError(QStringLiteral("Corrupt store: the maximum of %1.%2 is %3")
                                   .arg(description.name(),
                                        description.attributes()[static_cast<std::size_t>(attribute)].name,
                                        describeCell(select, 0)),
                               m_database.path());
    }
    return value;
}

std::int64_t SqliteStore::count(int entity, const std::vector<ColumnFilter>& filters) {
    entityAt(entity);
    const std::string sql = "SELECT count(*) FROM " + tableAt(entity).name + whereClause(entity, filters);
    std::lock_guard lock(m_databaseMutex);
    auto& select = statement(sql);
    SqliteStatement::ScopedReset reset(select);
    bindFilters(select, entity, filters);
    select.step();
    return select.columnInt64(0);
}

bool SqliteStore::integrityCheck() {
    std::lock_guard lock(m_databaseMutex);
    auto check = m_database.prepare("PRAGMA integrity_check");
    std::vector<std::string> rows;
    while (check.step()) {
        rows.emplace_back(check.columnText(0));
    }
    return rows.size() == 1 && rows.front() == "ok";
}

void SqliteStore::snapshotTo(const QString& path) {
    {
        // Made here, empty and exclusively: the clean-up below may only ever remove a file of this call.
        QFile placeholder(path);
        if (!placeholder.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            throw SqliteStoreError(QStringLiteral("Cannot create the snapshot file"), path,
                                   placeholder.errorString());
        }
    }
    try {
        copyInto(path);
    } catch (...) {
        for (const char* suffix : {"", "-journal", "-wal", "-shm"}) {
            QFile::remove(path + QLatin1String(suffix));
        }
        throw;
    }
}

void SqliteStore::copyInto(const QString& path) {
    SqliteDatabase copy(path);
    {
        // The online backup copies pages as they stand after the last commit (about twice as fast
        // as VACUUM INTO here); writers on other connections go on meanwhile.
        std::lock_guard lock(m_databaseMutex);
        sqlite3_backup* backup = sqlite3_backup_init(copy.handle(), "main", m_database.handle(), "main");
        if (backup == nullptr) {
            copy.fail(QStringLiteral("Cannot start a snapshot of %1").arg(m_database.path()));
        }
        const int stepped = sqlite3_backup_step(backup, -1);
        const int finished = sqlite3_backup_finish(backup);
        if (stepped != SQLITE_DONE || finished != SQLITE_OK) {
            copy.fail(QStringLiteral("Cannot write a snapshot of %1").arg(m_database.path()));
        }
    }
    // The copy carries the write-ahead-log mode of the original; a rollback journal keeps it one
    // file at rest wherever it is opened.
    auto journal = copy.prepare("PRAGMA journal_mode=DELETE");
    if (!journal.step() || journal.columnText(0) != "delete") {
        copy.fail(QStringLiteral("Cannot finish the snapshot"));
    }
}

} // namespace vantrel::objectstore
