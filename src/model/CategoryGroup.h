#pragma once

#include "model/EntityObject.h"

#include <vector>

namespace vantrel::model {

// A named group of categories. The categories are raw objects until the category class has a typed
// handle.
class CategoryGroup : public EntityObject {
public:
    static constexpr auto kEntity = "CategoryGroup";

    explicit CategoryGroup(objectstore::ManagedObject* object);
    static CategoryGroup insertInContext(objectstore::Context& context);

    QString cloudID() const;
    QString name() const;
    void setName(const QString& name);
    // In no particular order.
    const std::vector<objectstore::ManagedObject*>& categories() const;

private:
    struct Indexes;
    static const Indexes& ix();
};

} // namespace vantrel::model
