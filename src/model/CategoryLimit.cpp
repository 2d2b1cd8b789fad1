#include "model/CategoryLimit.h"

#include "model/CategoryVT.h"
#include "model/ModelErrors.h"
#include "platform/objectstore/Context.h"

namespace vantrel::model {

struct CategoryLimit::Indexes {
    static int a(const char16_t* name) { return EntityObject::attributeIndex(u"CategoryLimit", name); }
    static int r(const char16_t* name) { return EntityObject::relationshipIndex(u"CategoryLimit", name); }

    int cloudID = a(u"cloudID");
    int amount = a(u"amount");
    int notes = a(u"notes");
    int showMonthlyAmount = a(u"showMonthlyAmount");
    int budget = r(u"budget");
    int category = r(u"category");
};

const CategoryLimit::Indexes& CategoryLimit::ix() {
    static const Indexes indexes;
    return indexes;
}

CategoryLimit::CategoryLimit(objectstore::ManagedObject* object)
    : EntityObject(object) {}

CategoryLimit CategoryLimit::insertInContext(objectstore::Context& context) {
    return CategoryLimit(insertWithCloudID(context, u"CategoryLimit"));
}

QString CategoryLimit::cloudID() const {
    return string(ix().cloudID);
}

std::optional<Amount> CategoryLimit::amount() const {
    return decimal(ix().amount);
}

void CategoryLimit::setAmount(const std::optional<Amount>& amount) {
    setDecimal(ix().amount, amount);
}

QString CategoryLimit::notes() const {
    return string(ix().notes);
}

void CategoryLimit::setNotes(const QString& notes) {
    setString(ix().notes, notes);
}

bool CategoryLimit::showMonthlyAmount() const {
    return boolean(ix().showMonthlyAmount).value_or(false);
}

void CategoryLimit::setShowMonthlyAmount(bool show) {
    setBoolean(ix().showMonthlyAmount, show);
}

std::optional<Budget> CategoryLimit::budget() const {
    objectstore::ManagedObject* budget = toOne(ix().budget);
    return budget != nullptr ? std::optional<Budget>(Budget(budget)) : std::nullopt;
}

void CategoryLimit::setBudget(const std::optional<Budget>& budget) {
    setToOne(ix().budget, budget ? budget->object() : nullptr);
}

objectstore::ManagedObject* CategoryLimit::category() const {
    return toOne(ix().category);
}

void CategoryLimit::setCategory(objectstore::ManagedObject* category) {
    setToOne(ix().category, category);
}

bool CategoryLimit::isExpense() const {
    const auto value = amount();
    return !value || value->isExpense_vt();
}

Amount CategoryLimit::actualAmount() const {
    const std::optional<Budget> owner = budget();
    objectstore::ManagedObject* limited = category();
    if (!owner || limited == nullptr) {
        return Amount();
    }
    // endDate() first: it refuses a budget without a start date.
    const Day end = owner->endDate();
    return CategoryVT(limited).amountFromDate(*owner->startDate(), end).value_or(Amount());
}

std::optional<objectstore::ValidationError> CategoryLimit::validate(objectstore::ManagedObject& object,
                                                                    objectstore::ValidationPhase phase) {
    if (phase == objectstore::ValidationPhase::Delete) {
        return std::nullopt;
    }
    const CategoryLimit limit(&object);
    if (const auto value = limit.amount(); value && !value->hasAtMostPlaces(0)) {
        return ModelErrors::internalGeneralError(QStringLiteral("9FEF2"));
    }
    return std::nullopt;
}

} // namespace vantrel::model
