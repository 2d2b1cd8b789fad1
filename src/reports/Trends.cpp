#include "reports/Trends.h"

#include "model/Account.h"
#include "model/CategoryVT.h"
#include "model/Currency.h"
#include "model/Global.h"
#include "model/Split.h"
#include "model/SplitSet.h"
#include "model/Transaction.h"
#include "platform/InternalError.h"
#include "reports/Breakdown.h"
#include "reports/PeriodSums.h"

#include <algorithm>
#include <unordered_map>

namespace vantrel::reports {

namespace {

// Converts single amounts into the home currency the way a transaction's own home-currency amount
// is worked out, with the currencies looked up once per account instead of once per amount.
class HomeCurrencyConverter {
public:
    explicit HomeCurrencyConverter(objectstore::Context& context)
        : m_context(context)
        , m_homeCode(model::Global::sharedInstanceInContext(context).homeCurrencyCode()) {}

    model::Amount convert(const model::Amount& amount, objectstore::ManagedObject* account) {
        const Rates& rates = ratesOf(account);
        return rates ? model::Currency::exchange(amount, rates->first, rates->second) : amount;
    }

private:
    using Rates = std::optional<std::pair<model::Currency, model::Currency>>;

    const Rates& ratesOf(objectstore::ManagedObject* account) {
        auto found = m_rates.find(account);
        if (found == m_rates.end()) {
            found = m_rates.emplace(account, lookUp(account)).first;
        }
        return found->second;
    }

    Rates lookUp(objectstore::ManagedObject* account) const {
        const QString code = account == nullptr ? QString() : model::Account(account).currencyCode();
        if (code == m_homeCode) {
            return std::nullopt;
        }
        std::optional<model::Currency> from = model::Currency::withCode(m_context, code);
        std::optional<model::Currency> to = model::Currency::withCode(m_context, m_homeCode);
        if (!from || !to) {
            return std::nullopt;
        }
        return std::make_pair(*from, *to);
    }

    objectstore::Context& m_context;
    QString m_homeCode;
    std::unordered_map<objectstore::ManagedObject*, Rates> m_rates;
};

// A category's amount in a month: its transactions (those naming it directly) and its split lines,
// each converted on its own, as the category's period amount adds them up.
class CategoryAmounts {
public:
    CategoryAmounts(objectstore::Context& context, std::vector<objectstore::ManagedObject*> categories)
        : m_converter(context)
        , m_categories(std::move(categories)) {}

    bool isEmpty() const { return m_categories.empty(); }

    void add(objectstore::ManagedObject* object) {
        const model::Transaction transaction(object);
        objectstore::ManagedObject* account = transaction.account();
        if (isWatched(transaction.category())) {
            addTo(transaction.category(), transaction.amount(), account);
        }
        if (objectstore::ManagedObject* set = transaction.splitSet()) {
            for (objectstore::ManagedObject* line : model::SplitSet(set).splits()) {
                const model::Split split(line);
                if (isWatched(split.category())) {
                    addTo(split.category(), split.amount(), account);
                }
            }
        }
    }

    model::Amount take(objectstore::ManagedObject* category) {
        const model::Amount amount = m_sums[category];
        m_sums[category] = model::Amount();
        return amount;
    }

private:
    bool isWatched(objectstore::ManagedObject* category) const {
        return category != nullptr &&
               std::find(m_categories.begin(), m_categories.end(), category) != m_categories.end();
    }

    void addTo(objectstore::ManagedObject* category, const std::optional<model::Amount>& amount,
               objectstore::ManagedObject* account) {
        if (amount) {
            m_sums[category] += m_converter.convert(*amount, account);
        }
    }

    HomeCurrencyConverter m_converter;
    std::vector<objectstore::ManagedObject*> m_categories;
    std::unordered_map<objectstore::ManagedObject*, model::Amount> m_sums;
};

struct Request {
    bool balance = false;
    bool income = false;
    bool expense = false;
    // Category objects with the identifiers they were asked for by.
    std::vector<std::pair<objectstore::ManagedObject*, QString>> categories;
};

Request parse(objectstore::Context& context, const QStringList& identifiers) {
    Request request;
    QStringList seen;
    for (const QString& identifier : identifiers) {
        if (seen.contains(identifier)) {
            continue;
        }
        seen.push_back(identifier);
        if (identifier == QLatin1String(Trends::kBalance)) {
            request.balance = true;
        } else if (identifier == QLatin1String(Trends::kIncome)) {
            request.income = true;
        } else if (identifier == QLatin1String(Trends::kExpense)) {
            request.expense = true;
        } else if (const std::optional<model::CategoryVT> category =
                       model::CategoryVT::withCloudID(context, identifier)) {
            request.categories.emplace_back(category->object(), identifier);
        } else {
            throw platform::InternalError(QStringLiteral("No trend series named \"%1\"").arg(identifier));
        }
    }
    return request;
}

} // namespace

std::vector<model::Day> Trends::monthList(objectstore::Context& context, const platform::Clock& clock) {
    const auto [first, last] = model::Transaction::reportDateRange(context, clock);
    return model::Day::monthsFromStartDate(first, last);
}

std::map<QString, TrendSeries> Trends::series(objectstore::Context& context, const platform::Clock& clock,
                                              const QStringList& identifiers) {
    const Request request = parse(context, identifiers);
    const auto [first, last] = model::Transaction::reportDateRange(context, clock);
    const std::vector<model::Day> months = model::Day::monthsFromStartDate(first, last);

    std::vector<objectstore::ManagedObject*> watched;
    for (const auto& entry : request.categories) {
        watched.push_back(entry.first);
    }
    CategoryAmounts categoryAmounts(context, watched);
    PeriodSums sums(context);
    const bool needsSums = request.balance || request.income || request.expense;

    TrendSeries balance;
    TrendSeries income;
    TrendSeries expense;
    std::map<QString, TrendSeries> byCategory;
    // Nothing is dated before the first month of the report range, so the starting balances plus
    // each month's total give the overall balance at every month's end without a scan from the start.
    model::Amount running =
        request.balance ? model::Account::totalStartingBalanceInContext(context) : model::Amount();
    for (std::size_t index = 0; index < months.size(); ++index) {
        const model::Day& monthEnd = months[index];
        // Each month's transactions come from the date index, so the history is read once in all.
        const std::vector<objectstore::ManagedObject*> transactions = context.inDateRange(
            u"Transaction", u"date", monthEnd.beginningOfMonth_vt().toInstant(), monthEnd.toInstant());
        if (needsSums) {
            sums.clear();
            sums.addAll(transactions);
        }
        if (request.balance) {
            running += sums.accountsTotal();
            // The last point is the end of the report range itself, not the end of its month.
            balance.push_back({index + 1 == months.size() ? last : monthEnd, running});
        }
        if (request.income || request.expense) {
            const BreakdownTable table = sums.categorySums();
            model::Amount incomeTotal;
            model::Amount expenseTotal;
            for (const auto& entry : table) {
                (entry.second.isIncome_vt() ? incomeTotal : expenseTotal) += entry.second;
            }
            income.push_back({monthEnd, incomeTotal});
            expense.push_back({monthEnd, expenseTotal});
        }
        if (!categoryAmounts.isEmpty()) {
            for (objectstore::ManagedObject* transaction : transactions) {
                categoryAmounts.add(transaction);
            }
            for (const auto& [category, identifier] : request.categories) {
                byCategory[identifier].push_back({monthEnd, categoryAmounts.take(category)});
            }
        }
    }

    std::map<QString, TrendSeries> result = std::move(byCategory);
    if (request.balance) {
        result[QString::fromLatin1(kBalance)] = std::move(balance);
    }
    if (request.income) {
        result[QString::fromLatin1(kIncome)] = std::move(income);
    }
    if (request.expense) {
        result[QString::fromLatin1(kExpense)] = std::move(expense);
    }
    return result;
}

TrendSeries Trends::series(objectstore::Context& context, const platform::Clock& clock,
                           const QString& identifier) {
    return series(context, clock, QStringList{identifier}).at(identifier);
}

} // namespace vantrel::reports
