#pragma once

#include "platform/objectstore/Context.h"

namespace vantrel::model {

// The query helpers every entity offers, over a context: the forms the rest of the application
// calls, with the object model's rule that a fetch expected to find exactly one object and finding
// another number is a programming fault.
class StoreQueries {
public:
    using Predicate = std::function<bool(const objectstore::ManagedObject&)>;

    // The single match; any other count is an InternalError "expected 1 count, but was %ld".
    static objectstore::ManagedObject* findOnlyByPredicate_vt(objectstore::Context& context,
                                                              QStringView entity, const Predicate& predicate);
    // The object with that identity, or nullptr.
    static objectstore::ManagedObject* findByID(objectstore::Context& context,
                                                const objectstore::ObjectID& id);
    // The object with that cloudID, or nullptr; two objects with one cloudID is an InternalError.
    static objectstore::ManagedObject* findByCloudID(objectstore::Context& context, QStringView entity,
                                                     const QString& cloudID);
};

} // namespace vantrel::model
