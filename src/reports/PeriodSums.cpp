#include "reports/PeriodSums.h"

#include "model/Account.h"
#include "model/Currency.h"
#include "model/Global.h"
#include "model/Split.h"
#include "model/SplitSet.h"
#include "model/Transaction.h"
#include "platform/InternalError.h"

#include <map>

namespace vantrel::reports {

PeriodSums::PeriodSums(objectstore::Context& context)
    : m_context(context)
    , m_homeCode(model::Global::sharedInstanceInContext(context).homeCurrencyCode()) {}

void PeriodSums::add(objectstore::ManagedObject* object) {
    const model::Transaction transaction(object);
    objectstore::ManagedObject* account = transaction.account();
    if (const std::optional<model::Amount> amount = transaction.amount()) {
        m_accountTotals[account] += *amount;
    }
    if (objectstore::ManagedObject* set = transaction.splitSet()) {
        for (objectstore::ManagedObject* line : model::SplitSet(set).splits()) {
            const model::Split split(line);
            if (const std::optional<model::Amount> amount = split.amount()) {
                addLine(account, split.category(), *amount);
            }
        }
    } else if (const std::optional<model::Amount> amount = transaction.amount()) {
        addLine(account, transaction.category(), *amount);
    }
}

void PeriodSums::addAll(const std::vector<objectstore::ManagedObject*>& transactions) {
    for (objectstore::ManagedObject* transaction : transactions) {
        add(transaction);
    }
}

void PeriodSums::clear() {
    m_lines.clear();
    m_accountTotals.clear();
}

void PeriodSums::addLine(objectstore::ManagedObject* account, objectstore::ManagedObject* category,
                         const model::Amount& amount) {
    m_lines[{account, category}] += amount;
}

const QString& PeriodSums::currencyCodeOf(objectstore::ManagedObject* account) const {
    auto found = m_codes.find(account);
    if (found == m_codes.end()) {
        QString code = account == nullptr ? QString() : model::Account(account).currencyCode();
        found = m_codes.emplace(account, std::move(code)).first;
    }
    return found->second;
}

BreakdownTable PeriodSums::categorySums() const {
    // Accounts sharing a currency form one group, as a sum grouped by currency code would.
    std::map<std::pair<QString, objectstore::ManagedObject*>, model::Amount> byCurrency;
    for (const auto& [line, amount] : m_lines) {
        const QString& code = currencyCodeOf(line.first);
        if (code.isEmpty()) {
            throw platform::InternalError("A transaction's account has no currency code");
        }
        byCurrency[{code, line.second}] += amount;
    }
    BreakdownTable table;
    for (const auto& [group, amount] : byCurrency) {
        table[group.second] += model::Currency::exchangeByCode(m_context, amount.roundToNearestCent_vt(),
                                                               group.first, m_homeCode);
    }
    return table;
}

model::Amount PeriodSums::accountsTotal() const {
    model::Amount total;
    for (const auto& [account, amount] : m_accountTotals) {
        total += model::Currency::exchangeByCode(m_context, amount, currencyCodeOf(account), m_homeCode);
    }
    return total;
}

} // namespace vantrel::reports
