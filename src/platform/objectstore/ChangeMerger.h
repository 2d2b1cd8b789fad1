#pragma once

#include "platform/objectstore/ChangeSet.h"

namespace vantrel::objectstore {

class Context;
class ManagedObject;

// Brings a context's graph in line with changes another context saved to the same store. New
// objects are created (known ones skipped); updated properties become the committed values and, where
// the context has no unsaved edit of that property, the current ones too (an unsaved edit wins);
// deleted objects leave the graph without delete rules. Nothing is tracked or recorded for undo.
class ChangeMerger {
public:
    explicit ChangeMerger(Context& context);

    void merge(const ChangeSet& changes);

private:
    void mergeInserted(const std::vector<ObjectState>& inserted);
    void mergeUpdate(const ObjectUpdate& update);
    void mergeToOne(ManagedObject& object, int relationship, const std::optional<ObjectID>& target);
    void mergeDeleted(const std::vector<ObjectID>& deleted);

    Context& m_context;
};

} // namespace vantrel::objectstore
