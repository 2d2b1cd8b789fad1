#pragma once

#include "model/EntityObject.h"

namespace vantrel::model {

// The single settings record of a database.
class Global : public EntityObject {
public:
    static constexpr auto kEntity = "Global";

    explicit Global(objectstore::ManagedObject* object);

    // The one Global of the context, created with a fresh databaseID when there is none. Two or
    // more is an InternalError ("Expected one Global, found %ld").
    static Global sharedInstanceInContext(objectstore::Context& context);

    // The same object on every machine, for sync.
    QString cloudID() const { return QStringLiteral("Global"); }
    QString homeCurrencyCode() const;
    void setHomeCurrencyCode(const QString& code);
    QString databaseID() const;
    // Kept only for data upgraded from old versions.
    QString currenciesArchive() const;
};

} // namespace vantrel::model
