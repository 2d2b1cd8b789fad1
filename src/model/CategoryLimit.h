#pragma once

#include "model/Budget.h"
#include "model/EntityObject.h"
#include "platform/objectstore/ValidationError.h"
#include "platform/objectstore/ValidationPhase.h"

#include <optional>

namespace vantrel::model {

// The limit of one category within one budget: an expense limit at zero or below, an income target
// above. The category is a raw object until the category class has a typed handle.
class CategoryLimit : public EntityObject {
public:
    static constexpr auto kEntity = "CategoryLimit";

    explicit CategoryLimit(objectstore::ManagedObject* object);
    static CategoryLimit insertInContext(objectstore::Context& context);

    QString cloudID() const;
    // A whole number of currency units.
    std::optional<Amount> amount() const;
    void setAmount(const std::optional<Amount>& amount);
    QString notes() const;
    void setNotes(const QString& notes);
    // Absent reads as false.
    bool showMonthlyAmount() const;
    void setShowMonthlyAmount(bool show);

    std::optional<Budget> budget() const;
    void setBudget(const std::optional<Budget>& budget);
    objectstore::ManagedObject* category() const;
    void setCategory(objectstore::ManagedObject* category);

    // A missing amount counts as zero, which is an expense.
    bool isExpense() const;
    // The category's amount over the budget's period, 0 when nothing was booked.
    Amount actualAmount() const;

    static std::optional<objectstore::ValidationError> validate(objectstore::ManagedObject& object,
                                                                objectstore::ValidationPhase phase);

private:
    struct Indexes;
    static const Indexes& ix();
};

} // namespace vantrel::model
