#pragma once

namespace vantrel::objectstore {

class SqliteDatabase;

// BEGIN IMMEDIATE on construction; ROLLBACK on destruction unless commit() succeeded, so an
// exception anywhere in between leaves the file as it was.
class SqliteTransaction {
public:
    explicit SqliteTransaction(const SqliteDatabase& database);
    ~SqliteTransaction();
    SqliteTransaction(const SqliteTransaction&) = delete;
    SqliteTransaction& operator=(const SqliteTransaction&) = delete;

    void commit();

private:
    const SqliteDatabase& m_database;
    bool m_committed = false;
};

} // namespace vantrel::objectstore
