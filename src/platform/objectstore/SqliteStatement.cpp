#include "platform/objectstore/SqliteStatement.h"

#include "platform/objectstore/SqliteStoreError.h"

#include <sqlite3.h>

namespace vantrel::objectstore {

void SqliteStatement::Finalizer::operator()(sqlite3_stmt* statement) const {
    sqlite3_finalize(statement);
}

SqliteStatement::SqliteStatement(sqlite3_stmt* statement, QString path)
    : m_statement(statement)
    , m_path(std::move(path)) {}

void SqliteStatement::fail(const char* what) const {
    sqlite3* db = sqlite3_db_handle(m_statement.get());
    throw SqliteStoreError(
        QStringLiteral("%1 [%2]").arg(QLatin1String(what), QString::fromUtf8(sqlite3_sql(m_statement.get()))),
        m_path, QString::fromUtf8(sqlite3_errmsg(db)));
}

void SqliteStatement::check(int result, const char* what) const {
    if (result != SQLITE_OK) {
        fail(what);
    }
}

void SqliteStatement::bindNull(int index) {
    check(sqlite3_bind_null(m_statement.get(), index), "Cannot bind a parameter");
}

void SqliteStatement::bindInt64(int index, std::int64_t value) {
    check(sqlite3_bind_int64(m_statement.get(), index, value), "Cannot bind a parameter");
}

void SqliteStatement::bindText(int index, std::string_view utf8) {
    // A null pointer would bind NULL, but an empty string is a value.
    const char* data = utf8.data() != nullptr ? utf8.data() : "";
    check(sqlite3_bind_text64(m_statement.get(), index, data, utf8.size(), SQLITE_TRANSIENT, SQLITE_UTF8),
          "Cannot bind a parameter");
}

void SqliteStatement::bindText(int index, QStringView text) {
    static constexpr char16_t kEmpty[] = u"";
    const void* data = text.utf16() != nullptr ? static_cast<const void*>(text.utf16()) : kEmpty;
    check(sqlite3_bind_text64(m_statement.get(), index, static_cast<const char*>(data),
                              static_cast<sqlite3_uint64>(text.size()) * sizeof(char16_t), SQLITE_TRANSIENT,
                              SQLITE_UTF16),
          "Cannot bind a parameter");
}

bool SqliteStatement::step() {
    const int result = sqlite3_step(m_statement.get());
    if (result == SQLITE_ROW) {
        return true;
    }
    if (result == SQLITE_DONE) {
        return false;
    }
    fail("Statement failed");
}

void SqliteStatement::run() {
    while (step()) {
    }
}

void SqliteStatement::reset() noexcept {
    sqlite3_reset(m_statement.get());
    sqlite3_clear_bindings(m_statement.get());
}

int SqliteStatement::columnType(int column) const {
    return sqlite3_column_type(m_statement.get(), column);
}

std::int64_t SqliteStatement::columnInt64(int column) const {
    return sqlite3_column_int64(m_statement.get(), column);
}

std::string_view SqliteStatement::columnText(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_statement.get(), column));
    const int bytes = sqlite3_column_bytes(m_statement.get(), column);
    return text != nullptr ? std::string_view(text, static_cast<std::size_t>(bytes)) : std::string_view();
}

} // namespace vantrel::objectstore
