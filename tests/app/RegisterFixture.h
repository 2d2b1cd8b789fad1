#pragma once

#include "app/Workspace.h"
#include "model/Account.h"
#include "model/CategoryVT.h"
#include "model/Currency.h"
#include "model/DataModel.h"
#include "model/Global.h"
#include "model/ModelValidation.h"
#include "model/Transaction.h"
#include "platform/Clock.h"
#include "platform/NotificationHub.h"
#include "platform/UserDefaults.h"
#include "platform/objectstore/Context.h"
#include "platform/objectstore/MemoryStore.h"
#include "support/ModelValues.h"
#include "support/ScriptedAlertPresenter.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace vantrel::testsupport {

// A workspace over a memory store for the register's tests: home currency USD (EUR at 0.8 per
// dollar), today is 2024-03-15 on a UTC clock, defaults in a temporary file, scripted alerts.
class RegisterFixture : public ::testing::Test {
protected:
    static constexpr auto kLocale = "en_US";

    RegisterFixture() {
        model::ModelValidation::install(context);
        model::Global::sharedInstanceInContext(context).setHomeCurrencyCode(QStringLiteral("USD"));
        addCurrency("USD", "1");
        addCurrency("EUR", "0.8");
    }

    QString locale() const { return QString::fromLatin1(kLocale); }

    void addCurrency(const char* code, const char* rate) {
        model::Currency currency = model::Currency::insertInContext(context);
        currency.setCode(QString::fromLatin1(code));
        currency.setName(QString::fromLatin1(code));
        currency.setRate(amount(rate));
    }

    model::Account newAccount(const QString& name, const QString& type = QStringLiteral("checking"),
                              const char* startBalance = "0",
                              const QString& currency = QStringLiteral("USD")) {
        model::Account account = model::Account::insertInContext(context, clock);
        account.setName(name);
        account.setType(type);
        account.setStartBalance(amount(startBalance));
        account.setCurrencyCode(currency);
        return account;
    }

    model::CategoryVT newCategory(const QString& name) {
        model::CategoryVT category = model::CategoryVT::insertInContext(context);
        category.setName(name);
        return category;
    }

    // A cleared (not pending) user transaction; each one is created a second after the last, so
    // later ones sort first within a day.
    model::Transaction newTransaction(const model::Account& account, const model::Day& date,
                                      const char* value, const QString& title = QString(),
                                      objectstore::ManagedObject* category = nullptr) {
        clock.advanceSeconds(1);
        model::Transaction transaction = model::Transaction::insertInContext(context, clock);
        transaction.setAccount(account.object());
        transaction.setDate(date);
        transaction.setAmount(amount(value));
        transaction.setTitle(title);
        transaction.setSingleCategory(category);
        transaction.setFlagged(false);
        return transaction;
    }

    // An imported transaction as the bank reported it: new until reviewed.
    model::Transaction newBankTransaction(const model::Account& account, const model::Day& date,
                                          const char* value, const QString& title) {
        model::Transaction transaction = newTransaction(account, date, value, title);
        transaction.setImported(true);
        transaction.setOfxAmount(amount(value));
        transaction.setOfxTitle(title.toUpper());
        transaction.setOfxDate(date);
        transaction.setOfxFitID(QStringLiteral("FIT-%1").arg(title));
        transaction.setFlagged(true);
        return transaction;
    }

    void save() { ASSERT_TRUE(context.save().succeeded()); }

    model::Day today() const { return model::Day::today_VT(clock); }

    std::shared_ptr<objectstore::MemoryStore> store =
        std::make_shared<objectstore::MemoryStore>(model::DataModel::description());
    objectstore::Context context{store};
    platform::FixedClock clock{QDateTime(QDate(2024, 3, 15), QTime(9, 0), QTimeZone::utc()),
                               QTimeZone::utc()};
    QTemporaryDir folder;
    platform::UserDefaults defaults{folder.filePath(QStringLiteral("defaults.ini"))};
    platform::NotificationHub hub;
    ScriptedAlertPresenter alerts;
    app::Workspace workspace{context, alerts, clock, defaults, hub};
};

} // namespace vantrel::testsupport
