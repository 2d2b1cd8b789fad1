#pragma once

#include "model/Account.h"
#include "model/CategoryGroup.h"
#include "model/CategoryVT.h"
#include "model/MoneyFixture.h"
#include "model/Transaction.h"

#include <vector>

namespace vantrel::testsupport {

// A dollar database (euros at 0.9 to the dollar) with a dollar and a euro account, and helpers for
// split transactions and grouped categories.
class ReportsFixture : public MoneyFixture {
protected:
    model::Account accountIn(const QString& name, const QString& currencyCode,
                             const char* startBalance = "0") {
        model::Account account = newAccount(name, QStringLiteral("checking"), startBalance);
        account.setCurrencyCode(currencyCode);
        return account;
    }

    model::Transaction split(model::Account& account, const model::Day& date,
                             const std::vector<std::pair<objectstore::ManagedObject*, const char*>>& lines,
                             const QString& title = {}) {
        std::vector<model::PlainSplit> pairs;
        model::Amount total;
        for (const auto& [category, value] : lines) {
            pairs.push_back({category, amount(value)});
            total += amount(value);
        }
        model::Transaction transaction = newTransaction(account, "0", date, title);
        transaction.setAmount(total);
        transaction.setMultipleCategoriesAndAmounts(pairs);
        return transaction;
    }

    model::CategoryGroup newGroup(const QString& name,
                                  const std::vector<objectstore::ManagedObject*>& categories) {
        model::CategoryGroup group = model::CategoryGroup::insertInContext(context);
        group.setName(name);
        for (objectstore::ManagedObject* category : categories) {
            model::CategoryVT(category).setGroup(group.object());
        }
        return group;
    }

    // Before the accounts, which take the home currency.
    bool currenciesReady = (useDollarsAndEuros(), true);
    model::Account dollars = accountIn(QStringLiteral("Checking"), QStringLiteral("USD"));
    model::Account euros = accountIn(QStringLiteral("Euro Savings"), QStringLiteral("EUR"));
};

} // namespace vantrel::testsupport
