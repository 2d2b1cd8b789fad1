#pragma once

#include "platform/Amount.h"
#include "platform/objectstore/PersistentStore.h"
#include "platform/objectstore/SqliteDatabase.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace vantrel::objectstore {

// The store in one SQLite file: a table per entity ("pk" plus a column per attribute and per
// to-one relationship), WAL with synchronous=FULL so a crash never loses a committed apply() nor
// corrupts the file. Decimals are exact TEXT, dates INTEGER milliseconds since 1970 UTC, booleans
// 0/1, absent values NULL. Every failure is a SqliteStoreError; a failed apply() writes nothing.
//
// Safe to share between threads: the connection is used under one mutex, keys under another.
// The sink of loadAll() runs under the connection's mutex and must not call back into the store's
// other methods (allocateKey() excepted).
class SqliteStore final : public PersistentStore {
    struct PrivateTag {};

public:
    // A conjunctive equality test for sum() and count(): an attribute equal to a value (absent
    // matches NULL; decimals compare numerically) or a to-one pointing at an object (nothing
    // matches no object).
    struct ColumnFilter {
        enum class Property { Attribute, ToOne };
        Property property = Property::Attribute;
        int index = 0; // into the entity's attributes() or relationships()
        Value value;
        std::optional<ObjectID> target;

        static ColumnFilter attributeEquals(int attribute, Value value) {
            return {Property::Attribute, attribute, std::move(value), std::nullopt};
        }
        static ColumnFilter toOneIs(int relationship, std::optional<ObjectID> target) {
            return {Property::ToOne, relationship, Value(), target};
        }
    };

    // Opens the file, creating it with the model's schema when missing. Refuses (SqliteStoreError)
    // a file that is not a database, not a Vantrel store, of a newer model version, or of an older
    // one (which needs migration). `model` must outlive the store.
    static std::unique_ptr<SqliteStore> open(const QString& path, const ModelDescription& model);

    SqliteStore(PrivateTag, const ModelDescription& model, SqliteDatabase database);
    ~SqliteStore() override;
    SqliteStore(const SqliteStore&) = delete;
    SqliteStore& operator=(const SqliteStore&) = delete;

    const ModelDescription& model() const override { return m_model; }
    // Above every key in the file and every key ever saved, also of objects since deleted, so a
    // stable object id never comes back for a different object.
    std::int64_t allocateKey(int entity) override;
    // In key order.
    void loadAll(int entity, const std::function<void(ObjectState&&)>& sink) override;
    // Inserts, updates (only the listed properties), then deletes, in one transaction. Updating an
    // object that is not in the file is an error (another context deleted it); deleting one is not.
    void apply(const ChangeSet& changes) override;

    // Aggregates computed in SQLite, without loading objects.
    platform::Amount sum(int entity, int attribute, const std::vector<ColumnFilter>& filters = {});
    // Nothing when no stored object has a value. Decimals compare numerically, strings by code point.
    std::optional<Value> maximum(int entity, int attribute);
    std::int64_t count(int entity, const std::vector<ColumnFilter>& filters = {});

    int schemaVersion() const { return m_schemaVersion; }
    QString path() const { return m_database.path(); }
    // PRAGMA integrity_check reports "ok".
    bool integrityCheck();
    // Writes a consistent copy of the database as it stands after the last committed apply() into
    // a new single file at `path` (no journal companions needed to read it). Safe while this store
    // stays open and in use; other connections keep their locks. Throws SqliteStoreError when the
    // copy cannot be made, and leaves no file behind then. `path` must not exist.
    void snapshotTo(const QString& path);

private:
    // The SQL names of one entity, quoted.
    struct Table {
        std::string name;
        std::vector<std::string> attributeColumns;
        std::vector<std::string> relationshipColumns; // empty for to-many relationships
        std::vector<int> toOneRelationships;
        std::vector<int> destinations; // entity index per relationship
        std::string selectAll;
        std::string insert;
        std::string remove;
    };

    void prepareSchema();
    void createSchema();
    void checkSchema() const;
    void loadKeyCounters();
    void copyInto(const QString& path);
    SqliteStatement& statement(const std::string& sql);

    const EntityDescription& entityAt(int entity) const;
    const Table& tableAt(int entity) const { return m_tables[static_cast<std::size_t>(entity)]; }
    void insertObject(const ObjectState& state);
    void updateObject(const ObjectUpdate& update);
    void deleteObject(const ObjectID& id);
    void bindAttribute(SqliteStatement& statement, int parameter, const Value& value, int entity,
                       int attribute) const;
    void bindToOne(SqliteStatement& statement, int parameter, const std::optional<ObjectID>& target,
                   int entity, int relationship) const;
    std::string whereClause(int entity, const std::vector<ColumnFilter>& filters) const;
    void bindFilters(SqliteStatement& statement, int entity, const std::vector<ColumnFilter>& filters) const;
    [[noreturn]] void corrupt(int entity, const std::string& column, std::int64_t key,
                              const QString& problem) const;

    const ModelDescription& m_model;
    std::vector<Table> m_tables;
    int m_schemaVersion = 0;

    std::mutex m_databaseMutex;
    SqliteDatabase m_database;
    // Declared after the connection, so statements are finalized before it closes.
    std::unordered_map<std::string, SqliteStatement> m_statements;

    std::mutex m_keyMutex;
    std::vector<std::int64_t> m_nextKeys;
};

} // namespace vantrel::objectstore
