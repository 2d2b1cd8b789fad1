#pragma once

#include "platform/objectstore/ModelDescription.h"

namespace vantrel::model {

// The stored object graph of one database: thirteen entities, their attributes and relationships
// with inverses, delete rules and which to-ones are mandatory. Everything generic in the object
// store (schema, loading, saving, undo, the dump) runs off this description.
class DataModel {
public:
    // The version recorded in database files written with this model.
    static constexpr int kVersion = 1;

    // Built once, immutable, shared by every store and context of the process.
    static const objectstore::ModelDescription& description();
};

} // namespace vantrel::model
