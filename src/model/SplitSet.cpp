#include "model/SplitSet.h"

namespace vantrel::model {

namespace {

struct Indexes {
    int cloudID = EntityObject::attributeIndex(u"SplitSet", u"cloudID");
    int transaction = EntityObject::relationshipIndex(u"SplitSet", u"transaction");
    int splits = EntityObject::relationshipIndex(u"SplitSet", u"splits");
};

const Indexes& ix() {
    static const Indexes indexes;
    return indexes;
}

} // namespace

SplitSet::SplitSet(objectstore::ManagedObject* object)
    : EntityObject(object) {}

SplitSet SplitSet::insertInContext(objectstore::Context& context) {
    return SplitSet(insertWithCloudID(context, u"SplitSet"));
}

QString SplitSet::cloudID() const {
    return string(ix().cloudID);
}

objectstore::ManagedObject* SplitSet::transaction() const {
    return toOne(ix().transaction);
}

const std::vector<objectstore::ManagedObject*>& SplitSet::splits() const {
    return toMany(ix().splits);
}

} // namespace vantrel::model
