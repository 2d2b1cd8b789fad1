#pragma once

#include "platform/objectstore/SqliteStatement.h"

#include <QString>

#include <memory>
#include <string_view>

struct sqlite3;

namespace vantrel::objectstore {

// One open SQLite connection, closed on destruction. Opening creates a missing file.
class SqliteDatabase {
public:
    explicit SqliteDatabase(const QString& path);

    sqlite3* handle() const { return m_handle.get(); }
    const QString& path() const { return m_path; }

    // Runs SQL that returns no rows (several statements allowed).
    void execute(const char* sql) const;
    SqliteStatement prepare(std::string_view sql) const;
    bool inTransaction() const;

    // Throws SqliteStoreError with `what`, SQLite's last message and the path.
    [[noreturn]] void fail(const QString& what) const;

private:
    struct Closer {
        void operator()(sqlite3* handle) const;
    };

    std::unique_ptr<sqlite3, Closer> m_handle;
    QString m_path;
};

} // namespace vantrel::objectstore
