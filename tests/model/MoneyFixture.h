#pragma once

#include "model/Account.h"
#include "model/CategoryVT.h"
#include "model/Currency.h"
#include "model/DataModel.h"
#include "model/Global.h"
#include "model/ModelValidation.h"
#include "model/Transaction.h"
#include "platform/Clock.h"
#include "platform/objectstore/Context.h"
#include "platform/objectstore/MemoryStore.h"
#include "support/ModelValues.h"

#include <gtest/gtest.h>

#include <memory>

namespace vantrel::testsupport {

// A database in memory with validation installed, a clock pinned to 2024-03-15 12:00 UTC and
// helpers that make accounts, categories and transactions in one line.
class MoneyFixture : public ::testing::Test {
protected:
    MoneyFixture() { model::ModelValidation::install(context); }

    model::Account newAccount(const QString& name, const QString& type = QStringLiteral("checking"),
                              const char* startBalance = "0") {
        model::Account account = model::Account::insertInContext(context, clock);
        account.setName(name);
        account.setType(type);
        account.setStartBalance(amount(startBalance));
        return account;
    }

    model::CategoryVT newCategory(const QString& name) {
        model::CategoryVT category = model::CategoryVT::insertInContext(context);
        category.setName(name);
        return category;
    }

    // Created now on the clock, so later calls sort after earlier ones on the same day.
    model::Transaction newTransaction(model::Account& account, const char* value, const model::Day& date,
                                      const QString& title = {},
                                      objectstore::ManagedObject* category = nullptr) {
        clock.advanceSeconds(1);
        return account.createTransactionWithDate(date, title, amount(value), category, QString(),
                                                 std::nullopt, clock);
    }

    model::Currency addCurrency(const QString& code, const char* rate) {
        model::Currency currency = model::Currency::insertInContext(context);
        currency.setCode(code);
        currency.setName(code);
        currency.setRate(amount(rate));
        return currency;
    }

    // USD at 1.0 is home, EUR at 0.9 (0.9 euros buy one dollar).
    void useDollarsAndEuros() {
        addCurrency(QStringLiteral("USD"), "1.0");
        addCurrency(QStringLiteral("EUR"), "0.9");
        model::Global::sharedInstanceInContext(context).setHomeCurrencyCode(QStringLiteral("USD"));
    }

    model::Day today() const { return model::Day::today_VT(clock); }

    std::shared_ptr<objectstore::MemoryStore> store =
        std::make_shared<objectstore::MemoryStore>(model::DataModel::description());
    objectstore::Context context{store};
    platform::FixedClock clock{QDateTime(QDate(2024, 3, 15), QTime(12, 0), QTimeZone::utc()),
                               QTimeZone::utc()};
};

} // namespace vantrel::testsupport
