#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <memory>
#include <string_view>

struct sqlite3_stmt;

namespace vantrel::objectstore {

// One prepared statement, finalized on destruction. Parameters and columns count as in SQLite
// (parameters from 1, columns from 0). Failures throw SqliteStoreError with SQLite's message.
class SqliteStatement {
public:
    SqliteStatement(sqlite3_stmt* statement, QString path);

    void bindNull(int index);
    void bindInt64(int index, std::int64_t value);
    void bindText(int index, std::string_view utf8);
    void bindText(int index, QStringView text);

    // True while there is a row to read, false when done.
    bool step();
    // Steps a statement that returns no rows.
    void run();
    // Back to the start with every parameter cleared; also ends the statement's read, so a
    // statement left mid-way never pins a snapshot of the file.
    void reset() noexcept;

    int columnType(int column) const;
    std::int64_t columnInt64(int column) const;
    std::string_view columnText(int column) const;

    // Resets the statement when the scope ends, also on exceptions.
    class ScopedReset {
    public:
        explicit ScopedReset(SqliteStatement& statement)
            : m_statement(statement) {}
        ~ScopedReset() { m_statement.reset(); }
        ScopedReset(const ScopedReset&) = delete;
        ScopedReset& operator=(const ScopedReset&) = delete;

    private:
        SqliteStatement& m_statement;
    };

private:
    struct Finalizer {
        void operator()(sqlite3_stmt* statement) const;
    };

    [[noreturn]] void fail(const char* what) const;
    void check(int result, const char* what) const;

    std::unique_ptr<sqlite3_stmt, Finalizer> m_statement;
    QString m_path;
};

} // namespace vantrel::objectstore
