#pragma once

#include <QObject>
#include <QSettings>
#include <QString>
#include <QVariant>
#include <QVariantMap>

namespace vantrel::platform {

// The user's preferences: values the application registers at start-up, overridden by values the
// user has changed, which are kept in an INI file. Keys are arbitrary text; they never form
// groups. Use from one thread.
class UserDefaults : public QObject {
    Q_OBJECT

public:
    enum class SyncStatus { Saved, AccessError, FormatError };

    explicit UserDefaults(const QString& filePath, QObject* parent = nullptr);

    // The application's one store, over the file Paths::fromEnvironment() names. Created on first use.
    static UserDefaults& standard();

    QString filePath() const;

    // Fallbacks for keys the user has not set. Kept in memory only, never written to the file.
    void registerDefaults(const QVariantMap& defaults);

    // The stored value, else the registered default, else an invalid QVariant.
    QVariant value(const QString& key) const;
    // Converting getters: a missing or unconvertible value reads as false, 0, 0.0 or "".
    bool boolValue(const QString& key) const;
    int intValue(const QString& key) const;
    double doubleValue(const QString& key) const;
    QString stringValue(const QString& key) const;

    // Storing an invalid QVariant is the same as remove().
    void setValue(const QString& key, const QVariant& value);
    // Forgets the stored value, so the registered default shows again.
    void remove(const QString& key);

    // Stored or registered.
    bool contains(const QString& key) const;
    bool isStored(const QString& key) const;

    SyncStatus sync();

signals:
    // The value read for key may have changed.
    void changed(const QString& key);

private:
    static QString storageKey(const QString& key);
    void emitIfChanged(const QString& key, const QVariant& before);

    QSettings m_settings;
    QVariantMap m_registered;
};

} // namespace vantrel::platform
