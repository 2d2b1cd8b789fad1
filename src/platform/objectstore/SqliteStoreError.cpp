#include "platform/objectstore/SqliteStoreError.h"

namespace vantrel::objectstore {

namespace {

std::string compose(const QString& message, const QString& path, const QString& sqliteMessage) {
    QString text = message;
    if (!sqliteMessage.isEmpty()) {
        text += QStringLiteral(": ") + sqliteMessage;
    }
    text += QStringLiteral(" (") + path + u')';
    return text.toStdString();
}

} // namespace

SqliteStoreError::SqliteStoreError(const QString& message, const QString& path, const QString& sqliteMessage)
    : std::runtime_error(compose(message, path, sqliteMessage))
    , m_path(path) {}

} // namespace vantrel::objectstore
