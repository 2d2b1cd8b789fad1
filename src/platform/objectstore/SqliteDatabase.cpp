#include "platform/objectstore/SqliteDatabase.h"

#include "platform/objectstore/SqliteStoreError.h"

#include <climits>
#include <sqlite3.h>

namespace vantrel::objectstore {

void SqliteDatabase::Closer::operator()(sqlite3* handle) const {
    // v2 defers the close while a statement is still alive instead of failing.
    sqlite3_close_v2(handle);
}

SqliteDatabase::SqliteDatabase(const QString& path)
    : m_path(path) {
    sqlite3* handle = nullptr;
    // The store serializes every use of the connection with a mutex of its own.
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
    const int result = sqlite3_open_v2(path.toUtf8().constData(), &handle, flags, nullptr);
    m_handle.reset(handle);
    if (result != SQLITE_OK) {
        const QString message = handle != nullptr ? QString::fromUtf8(sqlite3_errmsg(handle))
                                                  : QString::fromUtf8(sqlite3_errstr(result));
        throw SqliteStoreError(QStringLiteral("Cannot open the store"), path, message);
    }
    sqlite3_extended_result_codes(handle, 1);
}

void SqliteDatabase::execute(const char* sql) const {
    if (sqlite3_exec(m_handle.get(), sql, nullptr, nullptr, nullptr) != SQLITE_OK) {
        fail(QStringLiteral("Statement failed [%1]").arg(QString::fromUtf8(sql)));
    }
}

SqliteStatement SqliteDatabase::prepare(std::string_view sql) const {
    sqlite3_stmt* statement = nullptr;
    if (sql.size() > static_cast<std::size_t>(INT_MAX)) {
        fail(QStringLiteral("Statement too long"));
    }
    const int result = sqlite3_prepare_v3(m_handle.get(), sql.data(), static_cast<int>(sql.size()),
                                          SQLITE_PREPARE_PERSISTENT, &statement, nullptr);
    SqliteStatement prepared(statement, m_path);
    if (result != SQLITE_OK) {
        fail(QStringLiteral("Cannot prepare [%1]")
                 .arg(QString::fromUtf8(sql.data(), static_cast<qsizetype>(sql.size()))));
    }
    return prepared;
}

bool SqliteDatabase::inTransaction() const {
    return sqlite3_get_autocommit(m_handle.get()) == 0;
}

void SqliteDatabase::fail(const QString& what) const {
    throw SqliteStoreError(what, m_path, QString::fromUtf8(sqlite3_errmsg(m_handle.get())));
}

} // namespace vantrel::objectstore
