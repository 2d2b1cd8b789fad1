#include "model/StoreQueries.h"

#include "platform/InternalError.h"

namespace vantrel::model {

objectstore::ManagedObject* StoreQueries::findOnlyByPredicate_vt(objectstore::Context& context,
                                                                 QStringView entity,
                                                                 const Predicate& predicate) {
    const auto matches = context.fetch(entity, predicate);
    if (matches.size() != 1) {
        throw platform::InternalError(QStringLiteral("expected 1 count, but was %1").arg(matches.size()));
    }
    return matches.front();
}

objectstore::ManagedObject* StoreQueries::findByID(objectstore::Context& context,
                                                   const objectstore::ObjectID& id) {
    return context.object(id);
}

objectstore::ManagedObject* StoreQueries::findByCloudID(objectstore::Context& context, QStringView entity,
                                                        const QString& cloudID) {
    const auto matches = context.lookup(entity, u"cloudID", objectstore::Value(cloudID));
    if (matches.size() > 1) {
        throw platform::InternalError(QStringLiteral("%1 objects of %2 share the cloudID %3")
                                          .arg(matches.size())
                                          .arg(entity)
                                          .arg(cloudID));
    }
    return matches.empty() ? nullptr : matches.front();
}

} // namespace vantrel::model
