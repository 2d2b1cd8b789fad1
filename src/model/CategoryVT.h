#pragma once

#include "model/EntityObject.h"
#include "platform/objectstore/ValidationError.h"
#include "platform/objectstore/ValidationPhase.h"

#include <optional>
#include <vector>

namespace vantrel::model {

// A spending or income category (stored as the entity "Category"). Names are unique, compared
// without regard to case and diacritics.
class CategoryVT : public EntityObject {
public:
    static constexpr auto kEntity = "Category";

    explicit CategoryVT(objectstore::ManagedObject* object);

    // Named with the next free default name, with a zero limit in every existing budget.
    static CategoryVT insertInContext(objectstore::Context& context);
    // "New Category", else "New Category 2", "New Category 3", ...
    static QString nextDefaultName(objectstore::Context& context);
    static std::optional<CategoryVT> withCloudID(objectstore::Context& context, const QString& cloudID);
    // The first category whose name matches "name LIKE[cd] %@".
    static std::optional<CategoryVT> findByName(objectstore::Context& context, const QString& name);
    // Every category whose name matches the pattern (its * and ? act as wildcards).
    static std::vector<objectstore::ManagedObject*> matchingName(objectstore::Context& context,
                                                                 const QString& name);

    QString cloudID() const;
    QString name() const;
    void setName(const QString& name);
    QString emoji() const;
    void setEmoji(const QString& emoji);
    bool isDefault() const;
    void setDefault(bool isDefault);
    objectstore::ManagedObject* group() const;
    void setGroup(objectstore::ManagedObject* group);
    const std::vector<objectstore::ManagedObject*>& transactions() const;
    const std::vector<objectstore::ManagedObject*>& splits() const;
    const std::vector<objectstore::ManagedObject*>& categoryLimits() const;

    // Transactions with this single category plus split lines using it.
    std::size_t numberOfUses() const;

    static std::optional<objectstore::ValidationError> validate(objectstore::ManagedObject& object,
                                                                objectstore::ValidationPhase phase);
};

} // namespace vantrel::model
