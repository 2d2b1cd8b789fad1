#include "platform/objectstore/SqliteTransaction.h"

#include "platform/objectstore/SqliteDatabase.h"

#include <sqlite3.h>

namespace vantrel::objectstore {

SqliteTransaction::SqliteTransaction(const SqliteDatabase& database)
    : m_database(database) {
    // IMMEDIATE takes the write lock now, so a second writer waits (busy timeout) instead of
    // failing half-way with a lock upgrade it cannot get.
    m_database.execute("BEGIN IMMEDIATE");
}

SqliteTransaction::~SqliteTransaction() {
    // A failed statement or COMMIT may already have ended the transaction.
    if (!m_committed && m_database.inTransaction()) {
        sqlite3_exec(m_database.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
    }
}

void SqliteTransaction::commit() {
    m_database.execute("COMMIT");
    m_committed = true;
}

} // namespace vantrel::objectstore
