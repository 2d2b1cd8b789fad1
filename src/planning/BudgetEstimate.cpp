#include "planning/BudgetEstimate.h"

#include "model/CategoryVT.h"
#include "platform/InternalError.h"
#include "platform/objectstore/Context.h"

#include <array>
#include <charconv>

namespace vantrel::planning {

namespace {

// The decimal a single-precision average stands for: its shortest text that reads back as the same
// float, so an average of -3.2 a day is taken as -3.2 and not as -3.2000000477.
model::Amount decimalOf(float value) {
    std::array<char, 64> text{};
    const auto written =
        std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    if (written.ec != std::errc()) {
        throw platform::InternalError("An average per day does not fit a decimal");
    }
    const auto amount = model::Amount::fromAscii(std::string_view(text.data(), written.ptr - text.data()));
    if (!amount) {
        throw platform::InternalError("An average per day does not fit a decimal");
    }
    return *amount;
}

} // namespace

void BudgetEstimate::estimate(model::Budget& budget, const std::optional<model::Day>& day,
                              const platform::Clock& clock) {
    objectstore::Context& context = budget.context();
    for (const model::CategoryLimit& limit : budget.categoryLimits()) {
        context.deleteObject(limit.object());
    }
    for (objectstore::ManagedObject* category : context.all(u"Category")) {
        model::CategoryLimit limit = model::CategoryLimit::insertInContext(context);
        limit.setBudget(budget);
        limit.setCategory(category);
        estimate(limit, day, clock);
    }
}

void BudgetEstimate::estimate(model::CategoryLimit& limit, const std::optional<model::Day>& day,
                              const platform::Clock& clock) {
    const std::optional<model::Budget> budget = limit.budget();
    if (!budget || limit.category() == nullptr) {
        throw platform::InternalError("A category limit is estimated without its budget or category");
    }
    const float perDay = model::CategoryVT(limit.category()).averageAmountPerDay(day, clock);
    limit.setAmount(decimalOf(perDay).multipliedBy(model::Amount(budget->days()), 0));
}

model::Budget BudgetEstimate::createBudget(objectstore::Context& context, const QString& name,
                                           const model::Day& start, int months,
                                           const platform::Clock& clock) {
    if (months < 1) {
        throw platform::InternalError("A budget needs at least one month");
    }
    model::Budget budget = model::Budget::insertInContext(context);
    budget.setName(name);
    budget.setStartDate(start);
    budget.setMonths(months);
    budget.setDidShowEndNotice(false);
    estimate(budget, std::nullopt, clock);
    return budget;
}

} // namespace vantrel::planning
