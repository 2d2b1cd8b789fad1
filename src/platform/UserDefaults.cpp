#include "platform/UserDefaults.h"

#include "platform/InternalError.h"
#include "platform/Paths.h"

namespace vantrel::platform {

UserDefaults::UserDefaults(const QString& filePath, QObject* parent)
    : QObject(parent)
    , m_settings(filePath, QSettings::IniFormat) {}

UserDefaults& UserDefaults::standard() {
    static UserDefaults defaults(Paths::fromEnvironment().defaultsFile());
    return defaults;
}

QString UserDefaults::filePath() const {
    return m_settings.fileName();
}

void UserDefaults::registerDefaults(const QVariantMap& defaults) {
    for (auto it = defaults.constBegin(); it != defaults.constEnd(); ++it) {
        const QVariant before = value(it.key());
        m_registered.insert(it.key(), it.value());
        emitIfChanged(it.key(), before);
    }
}

QVariant UserDefaults::value(const QString& key) const {
    const QVariant stored = m_settings.value(storageKey(key));
    return stored.isValid() ? stored : m_registered.value(key);
}

bool UserDefaults::boolValue(const QString& key) const {
    return value(key).toBool();
}

int UserDefaults::intValue(const QString& key) const {
    return value(key).toInt();
}

double UserDefaults::doubleValue(const QString& key) const {
    return value(key).toDouble();
}

QString UserDefaults::stringValue(const QString& key) const {
    return value(key).toString();
}

void UserDefaults::setValue(const QString& key, const QVariant& value) {
    if (!value.isValid()) {
        remove(key);
        return;
    }
    const QVariant before = this->value(key);
    m_settings.setValue(storageKey(key), value);
    emitIfChanged(key, before);
}

void UserDefaults::remove(const QString& key) {
    const QVariant before = value(key);
    m_settings.remove(storageKey(key));
    emitIfChanged(key, before);
}

bool UserDefaults::contains(const QString& key) const {
    return isStored(key) || m_registered.contains(key);
}

bool UserDefaults::isStored(const QString& key) const {
    return m_settings.contains(storageKey(key));
}

UserDefaults::SyncStatus UserDefaults::sync() {
    m_settings.sync();
    switch (m_settings.status()) {
    case QSettings::NoError:
        return SyncStatus::Saved;
    case QSettings::AccessError:
        return SyncStatus::AccessError;
    case QSettings::FormatError:
        return SyncStatus::FormatError;
    }
    return SyncStatus::AccessError;
}

QString UserDefaults::storageKey(const QString& key) {
    // QSettings reads '/' and '\' as group separators and drops empty segments, so "a/b", "a//b" and
    // "a\b" would all land on one entry. Escaping them, and '%' itself, keeps every key distinct.
    // An empty key would make QSettings::remove() clear the whole file.
    if (key.isEmpty()) {
        throw InternalError("UserDefaults: empty key");
    }
    QString escaped = key;
    escaped.replace(QLatin1Char('%'), QLatin1String("%25"));
    escaped.replace(QLatin1Char('/'), QLatin1String("%2F"));
    escaped.replace(QLatin1Char('\\'), QLatin1String("%5C"));
    return escaped;
}

void UserDefaults::emitIfChanged(const QString& key, const QVariant& before) {
    if (value(key) != before) {
        emit changed(key);
    }
}

} // namespace vantrel::platform
