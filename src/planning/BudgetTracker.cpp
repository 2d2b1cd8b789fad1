#include "planning/BudgetTracker.h"

#include "model/CategoryGroup.h"
#include "model/CategoryVT.h"
#include "model/Split.h"
#include "model/SplitSet.h"
#include "model/Transaction.h"
#include "platform/InternalError.h"
#include "platform/Log.h"
#include "platform/objectstore/Context.h"

#include <algorithm>
#include <unordered_map>

namespace vantrel::planning {

namespace {

using model::Amount;
using objectstore::ManagedObject;

// What was booked in a period, per category and uncategorised. The same sums as the category's own
// amount over a period, gathered in one pass over the period's transactions: walking each category's
// whole history instead costs a budget of 40 categories a million date reads in a large database.
class PeriodAmounts {
public:
    PeriodAmounts(objectstore::Context& context, const model::Day& from, const model::Day& to) {
        for (ManagedObject* object :
             context.inDateRange(u"Transaction", u"date", from.toInstant(), to.toInstant())) {
            const model::Transaction transaction(object);
            if (ManagedObject* category = transaction.category()) {
                add(m_byCategory[category], transaction.amountInHomeCurrency());
            }
            if (ManagedObject* set = transaction.splitSet()) {
                for (ManagedObject* line : model::SplitSet(set).splits()) {
                    const model::Split split(line);
                    ManagedObject* category = split.category();
                    add(category != nullptr ? m_byCategory[category] : m_uncategorized,
                        split.amountInHomeCurrency());
                }
            } else if (transaction.category() == nullptr) {
                add(m_uncategorized, transaction.amountInHomeCurrency());
            }
        }
    }

    // Nothing when nothing was booked, zero when the bookings cancel out.
    std::optional<Amount> ofCategory(ManagedObject* category) const {
        const auto found = m_byCategory.find(category);
        return found != m_byCategory.end() ? found->second : std::nullopt;
    }
    const std::optional<Amount>& uncategorized() const { return m_uncategorized; }

private:
    static void add(std::optional<Amount>& sum, const Amount& amount) {
        sum = sum.value_or(Amount()) + amount;
    }

    std::unordered_map<ManagedObject*, std::optional<Amount>> m_byCategory;
    std::optional<Amount> m_uncategorized;
};

bool isOnSide(const model::CategoryLimit& limit, BudgetTracker::Side side) {
    return limit.isExpense() == (side == BudgetTracker::Side::Expense);
}

BudgetRow categoryRow(const model::CategoryLimit& limit, const PeriodAmounts& amounts) {
    BudgetRow row;
    row.name = model::CategoryVT(limit.category()).nameWithEmoji();
    row.type = BudgetRow::Type::Category;
    row.categoryLimit = limit;
    row.limit = limit.amount().value_or(Amount());
    row.actual = amounts.ofCategory(limit.category()).value_or(Amount());
    return row;
}

BudgetRow groupRow(const QString& name, ManagedObject* group) {
    BudgetRow row;
    row.name = name;
    row.type = BudgetRow::Type::Group;
    row.group = group;
    return row;
}

// Places a category row: unbudgeted rows aside, grouped rows under their group's row (made and
// appended when the group is first met), the rest at the top level.
class RowPlacer {
public:
    RowPlacer(BudgetTrackResult& result, BudgetRow& notBudgeted)
        : m_result(result)
        , m_notBudgeted(notBudgeted) {}

    void place(BudgetRow row) {
        if (row.limit.isZero() && row.actual.isZero()) {
            m_notBudgeted.categories.push_back(std::move(row));
            return;
        }
        ManagedObject* group = model::CategoryVT(row.categoryLimit->category()).group();
        if (group == nullptr) {
            m_result.progress.push_back(std::move(row));
            return;
        }
        auto found = m_groupPositions.find(group);
        if (found == m_groupPositions.end()) {
            found = m_groupPositions.emplace(group, m_result.progress.size()).first;
            m_result.progress.push_back(groupRow(model::CategoryGroup(group).name(), group));
        }
        m_result.progress[found->second].categories.push_back(std::move(row));
    }

private:
    BudgetTrackResult& m_result;
    BudgetRow& m_notBudgeted;
    // Positions, not pointers: appending to "progress" moves its rows.
    std::unordered_map<ManagedObject*, std::size_t> m_groupPositions;
};

// Floating point, as the over-budget test has always compared.
double toDouble(const Amount& amount) {
    return amount.toString().toDouble();
}

Amount sortValue(const BudgetRow& row, BudgetTracker::SortKey key) {
    switch (key) {
    case BudgetTracker::SortKey::AbsoluteLimit:
        return row.limit.absolute_vt();
    case BudgetTracker::SortKey::Limit:
        return row.limit;
    case BudgetTracker::SortKey::Actual:
        return row.actual;
    }
    throw platform::InternalError("Unknown budget sort key");
}

void sortRows(std::vector<BudgetRow>& rows, BudgetTracker::SortKey key, bool descending) {
    // Stable, so rows with equal values keep the tracking order ("Not Budgeted" stays after the
    // others with a zero limit).
    std::stable_sort(rows.begin(), rows.end(), [key, descending](const BudgetRow& a, const BudgetRow& b) {
        return descending ? sortValue(b, key) < sortValue(a, key) : sortValue(a, key) < sortValue(b, key);
    });
}

} // namespace

void BudgetTracker::fixCategoryLimits(model::Budget& budget) {
    objectstore::Context& context = budget.context();
    for (ManagedObject* object : context.all(u"Category")) {
        const model::CategoryVT category(object);
        std::vector<model::CategoryLimit> limits;
        for (ManagedObject* limit : category.categoryLimits()) {
            const model::CategoryLimit candidate(limit);
            if (candidate.budget() == budget) {
                limits.push_back(candidate);
            }
        }
        if (limits.empty()) {
            model::CategoryLimit created = model::CategoryLimit::insertInContext(context);
            created.setAmount(Amount());
            created.setBudget(budget);
            created.setCategory(object);
            platform::Log::write(
                QStringLiteral("Created missing category limit for %1").arg(category.name()));
            continue;
        }
        std::sort(limits.begin(), limits.end(),
                  [](const model::CategoryLimit& a, const model::CategoryLimit& b) {
                      return a.cloudID() < b.cloudID();
                  });
        for (auto extra = limits.begin() + 1; extra != limits.end(); ++extra) {
            context.deleteObject(extra->object());
            platform::Log::write(QStringLiteral("Deleted extra category limit for %1").arg(category.name()));
        }
    }
}

BudgetTrackResult BudgetTracker::track(model::Budget& budget, Side side) {
    // endDate() first: it refuses a budget without a start date before anything is repaired.
    const model::Day end = budget.endDate();
    fixCategoryLimits(budget);
    const std::vector<model::CategoryLimit> limits = budget.categoryLimits();
    const std::size_t categories = budget.context().count(u"Category");
    if (limits.size() != categories) {
        throw platform::InternalError(QStringLiteral("Budget \"%1\" has %2 category limits for %3 categories")
                                          .arg(budget.name())
                                          .arg(limits.size())
                                          .arg(categories));
    }

    const PeriodAmounts amounts(budget.context(), *budget.startDate(), end);
    BudgetTrackResult result;
    BudgetRow notBudgeted = groupRow(QStringLiteral("Not Budgeted"), nullptr);
    RowPlacer placer(result, notBudgeted);
    for (const model::CategoryLimit& limit : limits) {
        if (isOnSide(limit, side)) {
            placer.place(categoryRow(limit, amounts));
        }
    }
    if (side == Side::Expense && amounts.uncategorized()) {
        BudgetRow uncategorized;
        uncategorized.name = QStringLiteral("Uncategorized");
        uncategorized.type = BudgetRow::Type::Uncategorized;
        uncategorized.actual = *amounts.uncategorized();
        result.progress.push_back(std::move(uncategorized));
    }
    if (!notBudgeted.categories.empty()) {
        result.progress.push_back(std::move(notBudgeted));
    }
    result.total.name = QStringLiteral("Total");
    result.total.type = BudgetRow::Type::Total;
    summarize(result);
    return result;
}

void BudgetTracker::summarize(BudgetTrackResult& result) {
    Amount limit;
    Amount actual;
    for (BudgetRow& row : result.progress) {
        if (row.type == BudgetRow::Type::Group) {
            row.limit = Amount();
            row.actual = Amount();
            for (const BudgetRow& category : row.categories) {
                row.limit += category.limit;
                row.actual += category.actual;
            }
        }
        limit += row.limit;
        actual += row.actual;
    }
    result.total.limit = limit;
    result.total.actual = actual;
}

bool BudgetTracker::isOverBudget(const BudgetRow& row) {
    return toDouble(row.actual) < toDouble(row.limit);
}

int BudgetTracker::countOverBudget(model::Budget& budget) {
    const BudgetTrackResult result = track(budget, Side::Expense);
    int count = 0;
    for (const BudgetRow& row : result.progress) {
        if (row.type == BudgetRow::Type::Category) {
            count += isOverBudget(row) ? 1 : 0;
        }
        for (const BudgetRow& category : row.categories) {
            count += isOverBudget(category) ? 1 : 0;
        }
    }
    return count;
}

std::map<objectstore::ObjectID, int> BudgetTracker::countOverBudgetForAll(objectstore::Context& context) {
    std::map<objectstore::ObjectID, int> counts;
    for (ManagedObject* object : context.all(u"Budget")) {
        model::Budget budget(object);
        // A budget without a start date has no period to compare; it gets no badge rather than
        // stopping every refresh of the sidebar.
        if (budget.startDate()) {
            counts[object->id()] = countOverBudget(budget);
        }
    }
    return counts;
}

void BudgetTracker::sort(BudgetTrackResult& result, SortKey key, bool descending) {
    sortRows(result.progress, key, descending);
    for (BudgetRow& row : result.progress) {
        sortRows(row.categories, key, descending);
    }
}

} // namespace vantrel::planning
