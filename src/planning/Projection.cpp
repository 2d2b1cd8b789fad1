#include "planning/Projection.h"

#include "model/Currency.h"
#include "model/Global.h"
#include "planning/ScheduledList.h"

#include <algorithm>
#include <unordered_map>

namespace vantrel::planning {

namespace {

using model::Account;
using model::Amount;
using model::ScheduledItem;

Amount amountOf(const ScheduledItem& item) {
    return item.amount().value_or(Amount(0));
}

QString currencyCodeOf(objectstore::ManagedObject* account) {
    return account ? Account(account).currencyCode() : QString();
}

// What one occurrence of an item does to the projected balance. Every occurrence of an item has
// the same effect, so it is worked out (and converted) once per item, not once per date.
struct Effect {
    Amount amount;
    QString currencyCode;
    Amount balanceChange;
};

Effect allAccountsEffect(objectstore::Context& context, const ScheduledItem& item, const QString& homeCode) {
    const Amount amount = amountOf(item);
    const QString code = currencyCodeOf(item.account());
    if (item.isTransfer()) {
        // Money moving between the user's own accounts leaves the total alone, across currencies too.
        return {amount, code, Amount(0)};
    }
    const Amount home =
        code == homeCode ? amount : model::Currency::exchangeByCode(context, amount, code, homeCode);
    return {amount, code, home};
}

Effect accountEffect(objectstore::Context& context, const ScheduledItem& item, const Account& account) {
    const Amount amount = amountOf(item);
    const QString toCode = account.currencyCode();
    if (!item.isTransfer()) {
        return {amount, toCode, amount};
    }
    if (item.account() == account.object()) {
        // A transfer into the same account moves nothing.
        return {amount, toCode, item.toAccount() == account.object() ? Amount(0) : amount};
    }
    const QString fromCode = currencyCodeOf(item.account());
    const Amount received =
        fromCode == toCode ? amount.negate_vt()
                           : model::Currency::exchangeByCode(context, amount.negate_vt(), fromCode, toCode);
    return {received, toCode, received};
}

template <typename EffectOf>
std::vector<UpcomingTransaction> withRunningBalance(std::vector<UpcomingTransaction> occurrences,
                                                    const Amount& startBalance, EffectOf&& effectOf) {
    std::unordered_map<objectstore::ManagedObject*, Effect> effects;
    Amount balance = startBalance;
    for (UpcomingTransaction& occurrence : occurrences) {
        objectstore::ManagedObject* key = occurrence.scheduledTransaction.object();
        auto found = effects.find(key);
        if (found == effects.end()) {
            found = effects.emplace(key, effectOf(occurrence.scheduledTransaction)).first;
        }
        occurrence.amount = found->second.amount;
        occurrence.amountCurrencyCode = found->second.currencyCode;
        balance += found->second.balanceChange;
        occurrence.runningBalance = balance;
    }
    return occurrences;
}

} // namespace

std::vector<UpcomingTransaction> Projection::occurrencesUntil(objectstore::Context& context,
                                                              const model::Day& end) {
    std::vector<UpcomingTransaction> occurrences;
    for (const ScheduledItem& item : ScheduledList::allItems(context)) {
        for (const model::Day& date : item.upcomingDatesUntil(end)) {
            occurrences.push_back({item, date, Amount(0), QString(), Amount(0)});
        }
    }
    // Items come in due-date order, so same-day occurrences keep that order.
    std::stable_sort(
        occurrences.begin(), occurrences.end(),
        [](const UpcomingTransaction& a, const UpcomingTransaction& b) { return a.date < b.date; });
    return occurrences;
}

std::vector<UpcomingTransaction> Projection::allAccounts(objectstore::Context& context, const model::Day& end,
                                                         const Amount& startBalance) {
    const QString homeCode = model::Global::sharedInstanceInContext(context).homeCurrencyCode();
    return withRunningBalance(occurrencesUntil(context, end), startBalance, [&](const ScheduledItem& item) {
        return allAccountsEffect(context, item, homeCode);
    });
}

std::vector<UpcomingTransaction> Projection::forAccount(objectstore::Context& context, const Account& account,
                                                        const model::Day& end, const Amount& startBalance) {
    std::vector<UpcomingTransaction> occurrences = occurrencesUntil(context, end);
    std::erase_if(occurrences, [&](const UpcomingTransaction& occurrence) {
        const ScheduledItem& item = occurrence.scheduledTransaction;
        return item.account() != account.object() && item.toAccount() != account.object();
    });
    return withRunningBalance(std::move(occurrences), startBalance, [&](const ScheduledItem& item) {
        return accountEffect(context, item, account);
    });
}

} // namespace vantrel::planning
