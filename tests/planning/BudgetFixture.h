#pragma once

#include "model/Budget.h"
#include "model/CategoryGroup.h"
#include "model/CategoryLimit.h"
#include "model/MoneyFixture.h"
#include "model/Split.h"
#include "model/SplitSet.h"

#include <utility>
#include <vector>

namespace vantrel::testsupport {

// Budgets over a database in dollars with one account in euros (0.9 euros to the dollar).
class BudgetFixture : public MoneyFixture {
protected:
    BudgetFixture() {
        useDollarsAndEuros();
        dollars.setCurrencyCode(QStringLiteral("USD"));
        euros.setCurrencyCode(QStringLiteral("EUR"));
    }

    model::Budget newBudget(const model::Day& start, int months = 1) {
        model::Budget budget = model::Budget::insertInContext(context);
        budget.setName(QStringLiteral("Budget"));
        budget.setStartDate(start);
        budget.setMonths(months);
        return budget;
    }

    // The budget's limit for the category, made when missing.
    model::CategoryLimit setLimit(const model::Budget& budget, const model::CategoryVT& category,
                                  const char* value) {
        std::optional<model::CategoryLimit> limit = budget.limitForCategory(category.object());
        if (!limit) {
            limit = model::CategoryLimit::insertInContext(context);
            limit->setBudget(budget);
            limit->setCategory(category.object());
        }
        limit->setAmount(amount(value));
        return *limit;
    }

    model::CategoryGroup newGroup(const QString& name, std::initializer_list<model::CategoryVT> members) {
        model::CategoryGroup group = model::CategoryGroup::insertInContext(context);
        group.setName(name);
        for (model::CategoryVT member : members) {
            member.setGroup(group.object());
        }
        return group;
    }

    // A dollar transaction split over (category or nullptr, amount) lines.
    model::Transaction
    newSplitTransaction(const model::Day& date,
                        const std::vector<std::pair<const model::CategoryVT*, const char*>>& lines) {
        model::Amount total;
        model::SplitSet set = model::SplitSet::insertInContext(context);
        for (const auto& [category, value] : lines) {
            model::Split split = model::Split::insertInContext(context);
            split.setAmount(amount(value));
            split.setCategory(category != nullptr ? category->object() : nullptr);
            split.setSplitSet(set.object());
            total += amount(value);
        }
        model::Transaction transaction = newTransaction(dollars, "0", date);
        transaction.setAmount(total);
        transaction.replaceSplitSet(set.object());
        return transaction;
    }

    model::Account dollars = newAccount(QStringLiteral("Checking"));
    model::Account euros = newAccount(QStringLiteral("Euro Savings"));
};

} // namespace vantrel::testsupport
