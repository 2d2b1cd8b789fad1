#include "store/DatabaseMetadata.h"

#include "platform/InternalError.h"
#include "platform/Log.h"
#include "platform/PropertyList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QVariantMap>

#include <limits>

namespace vantrel::store {

namespace {

// Versions far outside int still order correctly against the current one.
int clampedVersion(qint64 stored) {
    if (stored > std::numeric_limits<int>::max()) {
        return std::numeric_limits<int>::max();
    }
    if (stored < std::numeric_limits<int>::min()) {
        return std::numeric_limits<int>::min();
    }
    return static_cast<int>(stored);
}

void logUnusable(const QString& path, const QString& reason) {
    platform::Log::write(QStringLiteral("Ignoring unreadable metadata file %1: %2").arg(path, reason));
}

} // namespace

QString DatabaseMetadata::defaultPath(const QString& databaseFolder) {
    return QDir(databaseFolder).filePath(QString::fromLatin1(kFileName));
}

DatabaseMetadata DatabaseMetadata::defaultMetadata(const QString& databaseFolder) {
    if (!QFileInfo(databaseFolder).isDir()) {
        QDir().mkpath(databaseFolder);
    }
    DatabaseMetadata metadata;
    const QString path = defaultPath(databaseFolder);
    QFile file(path);
    if (!file.exists()) {
        return metadata;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        logUnusable(path, file.errorString());
        return metadata;
    }
    const platform::PropertyList::ReadResult read = platform::PropertyList::read(file.readAll());
    if (!read.ok()) {
        logUnusable(path, read.error);
        return metadata;
    }
    if (read.value.typeId() != QMetaType::QVariantMap) {
        logUnusable(path, QStringLiteral("not a dictionary"));
        return metadata;
    }
    const QVariant version = read.value.toMap().value(QString::fromLatin1(kVersionKey));
    if (!version.isValid()) {
        return metadata;
    }
    if (version.typeId() != QMetaType::LongLong) {
        logUnusable(path, QStringLiteral("the version is not an integer"));
        return metadata;
    }
    metadata.dataCompatibilityVersion = clampedVersion(version.toLongLong());
    return metadata;
}

void DatabaseMetadata::persist(const QString& databaseFolder) const {
    QVariantMap dictionary;
    if (dataCompatibilityVersion) {
        dictionary.insert(QString::fromLatin1(kVersionKey), qint64{*dataCompatibilityVersion});
    }
    const platform::PropertyList::WriteResult written = platform::PropertyList::toXml(dictionary);
    QSaveFile file(defaultPath(databaseFolder));
    if (!written.ok() || !file.open(QIODevice::WriteOnly) ||
        file.write(written.data) != written.data.size() || !file.commit()) {
        throw platform::InternalError("failed to persist metadata file");
    }
}

} // namespace vantrel::store
