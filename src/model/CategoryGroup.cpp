#include "model/CategoryGroup.h"

#include "model/CategoryVT.h"
#include "platform/objectstore/Context.h"

namespace vantrel::model {

struct CategoryGroup::Indexes {
    int cloudID = EntityObject::attributeIndex(u"CategoryGroup", u"cloudID");
    int name = EntityObject::attributeIndex(u"CategoryGroup", u"name");
    int categories = EntityObject::relationshipIndex(u"CategoryGroup", u"categories");
};

const CategoryGroup::Indexes& CategoryGroup::ix() {
    static const Indexes indexes;
    return indexes;
}

CategoryGroup::CategoryGroup(objectstore::ManagedObject* object)
    : EntityObject(object) {}

CategoryGroup CategoryGroup::insertInContext(objectstore::Context& context) {
    return CategoryGroup(insertWithCloudID(context, u"CategoryGroup"));
}

QString CategoryGroup::cloudID() const {
    return string(ix().cloudID);
}

QString CategoryGroup::name() const {
    return string(ix().name);
}

void CategoryGroup::setName(const QString& name) {
    setString(ix().name, name);
}

const std::vector<objectstore::ManagedObject*>& CategoryGroup::categories() const {
    return toMany(ix().categories);
}

std::size_t CategoryGroup::numberOfUses() const {
    std::size_t uses = 0;
    for (objectstore::ManagedObject* category : categories()) {
        uses += CategoryVT(category).numberOfUses();
    }
    return uses;
}

} // namespace vantrel::model
