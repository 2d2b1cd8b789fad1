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

// A category's amount per month: its transactions (those naming it directly) and its split lines,
// each converted on its own, as the category's period amount adds them up.
class CategoryAmounts {
public:
    CategoryAmounts(objectstore::Context& context, std::vector<objectstore::ManagedObject*> categories,
                    std::size_t months)
        : m_converter(context)
        , m_categories(std::move(categories))
        , m_sums(m_categories.empty() ? 0 : months) {}

    bool isEmpty() const { return m_categories.empty(); }

    void add(objectstore::ManagedObject* object, std::size_t month) {
        const model::Transaction transaction(object);
        objectstore::ManagedObject* account = transaction.account();
        if (isWatched(transaction.category())) {
            addTo(month, transaction.category(), transaction.amount(), account);
        }
        if (objectstore::ManagedObject* set = transaction.splitSet()) {
            for (objectstore::ManagedObject* line : model::SplitSet(set).splits()) {
                const model::Split split(line);
                if (isWatched(split.category())) {
                    addTo(month, split.category(), split.amount(), account);
                }
            }
        }
    }

    model::Amount amount(std::size_t month, objectstore::ManagedObject* category) const {
        const auto found = m_sums[month].find(category);
        return found != m_sums[month].end() ? found->second : model::Amount();
    }

private:
    bool isWatched(objectstore::ManagedObject* category) const {
        return category != nullptr &&
               std::find(m_categories.begin(), m_categories.end(), category) != m_categories.end();
    }

    void addTo(std::size_t month, objectstore::ManagedObject* category,
               const std::optional<model::Amount>& amount, objectstore::ManagedObject* account) {
        if (amount) {
            m_sums[month][category] += m_converter.convert(*amount, account);
        }
    }

    HomeCurrencyConverter m_converter;
    std::vector<objectstore::ManagedObject*> m_categories;
    std::vector<std::unordered_map<objectstore::ManagedObject*, model::Amount>> m_sums;
};

int monthNumber(const model::Day& day) {
    return day.year_VT() * 12 + day.month_VT() - 1;
}

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
    CategoryAmounts categoryAmounts(context, watched, months.size());
    const bool needsSums = request.balance || request.income || request.expense;
    std::vector<PeriodSums> sums(needsSums ? months.size() : 0, PeriodSums(context));
    // One pass over the history in the order the objects live in memory, each transaction added to
    // its month: walking the date index month by month would chase a tree node per transaction.
    const int firstMonth = monthNumber(months.front());
    for (objectstore::ManagedObject* object : context.all(u"Transaction")) {
        const std::optional<model::Day> date = model::Transaction(object).date();
        const int month = date ? monthNumber(*date) - firstMonth : -1;
        if (month < 0 || static_cast<std::size_t>(month) >= months.size()) {
            // Only undated transactions: the report range holds every date.
            continue;
        }
        if (needsSums) {
            sums[static_cast<std::size_t>(month)].add(object);
        }
        if (!categoryAmounts.isEmpty()) {
            categoryAmounts.add(object, static_cast<std::size_t>(month));
        }
    }

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
        if (request.balance) {
            running += sums[index].accountsTotal();
            // The last point is the end of the report range itself, not the end of its month.
            balance.push_back({index + 1 == months.size() ? last : monthEnd, running});
        }
        if (request.income || request.expense) {
            const BreakdownTable table = sums[index].categorySums();
            model::Amount incomeTotal;
            model::Amount expenseTotal;
            for (const auto& entry : table) {
                (entry.second.isIncome_vt() ? incomeTotal : expenseTotal) += entry.second;
            }
            income.push_back({monthEnd, incomeTotal});
            expense.push_back({monthEnd, expenseTotal});
        }
        for (const auto& [category, identifier] : request.categories) {
            byCategory[identifier].push_back({monthEnd, categoryAmounts.amount(index, category)});
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
