#pragma once

#include "model/MoneyFixture.h"
#include "model/ScheduledItem.h"

#include <optional>

namespace vantrel::testsupport {

// A money database (today is Friday 2024-03-15) with a short way to write scheduled items.
class PlanningFixture : public MoneyFixture {
protected:
    model::ScheduledItem oneTimeItem(model::Account& account, const QString& title, const char* value,
                                     const model::Day& due) {
        model::ScheduledItem item = model::ScheduledItem::insertInContext(context);
        item.setTitle(title);
        item.setAmount(amount(value));
        item.setAccount(account.object());
        item.setNextDueDate(due);
        return item;
    }

    model::ScheduledItem monthlyItem(model::Account& account, const QString& title, const char* value,
                                     const model::Day& due, std::int64_t interval = 1) {
        return repeatingItem(account, title, value, due, model::ScheduledItem::kMonthRepeat, interval);
    }

    model::ScheduledItem weeklyItem(model::Account& account, const QString& title, const char* value,
                                    const model::Day& due, std::int64_t interval = 1) {
        return repeatingItem(account, title, value, due, model::ScheduledItem::kWeekRepeat, interval);
    }

    model::ScheduledItem transferItem(model::Account& from, model::Account& to, const QString& title,
                                      const char* value, const model::Day& due) {
        model::ScheduledItem item = oneTimeItem(from, title, value, due);
        item.setToAccount(to.object());
        return item;
    }

    // USD (home) and EUR at 0.9, a dollar account A and a euro account B.
    void useDollarAndEuroAccounts() {
        useDollarsAndEuros();
        dollars.emplace(newAccount(QStringLiteral("A"), QStringLiteral("checking"), "1000"));
        dollars->setCurrencyCode(QStringLiteral("USD"));
        euros.emplace(newAccount(QStringLiteral("B"), QStringLiteral("savings"), "500"));
        euros->setCurrencyCode(QStringLiteral("EUR"));
    }

    std::optional<model::Account> dollars;
    std::optional<model::Account> euros;

private:
    model::ScheduledItem repeatingItem(model::Account& account, const QString& title, const char* value,
                                       const model::Day& due, const char* type, std::int64_t interval) {
        model::ScheduledItem item = oneTimeItem(account, title, value, due);
        item.setRepeatType(QLatin1String(type));
        item.setRepeatInterval(interval);
        return item;
    }
};

} // namespace vantrel::testsupport
