#pragma once

#include "model/EntityObject.h"
#include "platform/objectstore/ValidationError.h"
#include "platform/objectstore/ValidationPhase.h"

#include <optional>
#include <vector>

namespace vantrel::platform {
class Clock;
}

namespace vantrel::model {

// A spending or income category (stored as the entity "Category"). Names are unique, compared
// without regard to case and diacritics.
class CategoryVT : public EntityObject {
public:
    static constexpr auto kEntity = "Category";

    explicit CategoryVT(objectstore::ManagedObject* object);

    // The seven categories of a new database, in their order, each marked default and with a zero
    // limit in every existing budget.
    static void loadDefaultCategories(objectstore::Context& context);
    // Named with the next free default name, with a zero limit in every existing budget.
    static CategoryVT insertInContext(objectstore::Context& context);
    // "New Category", else "New Category 2", "New Category 3", ...
    static QString nextAvailableDefaultName(objectstore::Context& context);
    static bool nameAlreadyTaken(objectstore::Context& context, const QString& name);
    // Two categories with one cloudID is an InternalError.
    static std::optional<CategoryVT> withCloudID(objectstore::Context& context, const QString& cloudID);
    // The first category whose name matches "name LIKE[cd] %@".
    static std::optional<CategoryVT> findByName(objectstore::Context& context, const QString& name);
    // Every category whose name matches the pattern (its * and ? act as wildcards).
    static std::vector<objectstore::ManagedObject*> matchingName(objectstore::Context& context,
                                                                 const QString& name);
    // The order of category trees and menus: by name, ignoring case, in the user's locale. Negative,
    // zero or positive as `a` sorts before, with or after `b`.
    static int compareNames(const QString& a, const QString& b);

    QString cloudID() const;
    QString name() const;
    void setName(const QString& name);
    // The emoji is shown in a column of its own, so the name stands alone.
    QString nameWithEmoji() const { return name(); }
    QString emoji() const;
    void setEmoji(const QString& emoji);
    bool isDefault() const;
    void setDefault(bool isDefault);
    objectstore::ManagedObject* group() const;
    void setGroup(objectstore::ManagedObject* group);
    const std::vector<objectstore::ManagedObject*>& transactions() const;
    const std::vector<objectstore::ManagedObject*>& splits() const;
    const std::vector<objectstore::ManagedObject*>& categoryLimits() const;
    // Categories are the leaves of the category tree.
    bool isLeaf() const { return true; }

    // Split lines using it plus the unsplit transactions with this single category.
    std::size_t numberOfUses() const;

    // The sum in the home currency of its transactions and split lines dated in [from, to]; nothing
    // (not zero) when none is dated there.
    std::optional<Amount> amountFromDate(const Day& from, const Day& to) const;
    // The same over the uncategorised amounts: split lines without category and transactions with
    // neither category nor split set.
    static std::optional<Amount> uncategorizedAmountFromDate(objectstore::Context& context, const Day& from,
                                                             const Day& to);
    // The amount per day from the database's first transaction (or at most 366 days back) through
    // `end` (today when absent), both days included; 0 without amounts.
    float averageAmountPerDay(const std::optional<Day>& end, const platform::Clock& clock) const;

    static std::optional<objectstore::ValidationError> validate(objectstore::ManagedObject& object,
                                                                objectstore::ValidationPhase phase);
};

} // namespace vantrel::model
