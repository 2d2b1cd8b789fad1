#pragma once

#include "model/EntityObject.h"

#include <vector>

namespace vantrel::model {

// A named group of categories: the inner nodes of the two-level category tree. Deleting a group
// keeps its categories, which move to the top level.
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
    const std::vector<objectstore::ManagedObject*>& children() const { return categories(); }
    bool isLeaf() const { return false; }
    // Groups share the emoji column with categories but never show one: always the empty text.
    QString emoji() const { return QStringLiteral(""); }

    // The uses of all of its categories together.
    std::size_t numberOfUses() const;

private:
    struct Indexes;
    static const Indexes& ix();
};

} // namespace vantrel::model
