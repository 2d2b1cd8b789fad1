#pragma once

#include <QString>

#include <stdexcept>

namespace vantrel::objectstore {

// A failure of the SQLite file: it cannot be opened, is not a Vantrel store, has the wrong model
// version, holds corrupt data, or a write failed (and was rolled back). what() carries the cause,
// SQLite's own message when there is one, and the file's path.
class SqliteStoreError : public std::runtime_error {
public:
    SqliteStoreError(const QString& message, const QString& path, const QString& sqliteMessage = {});

    QString message() const { return QString::fromUtf8(what()); }
    const QString& path() const { return m_path; }

private:
    QString m_path;
};

} // namespace vantrel::objectstore
