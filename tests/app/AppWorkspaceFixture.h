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

#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace vantrel::testsupport {

// A workspace over a memory store as the application builds it: US dollars at home, euros
// besides, a clock standing at noon on 1 March 2024 UTC, preferences in a temporary file and
// scripted alerts. Records the notifications posted.
class AppWorkspaceFixture : public ::testing::Test {
protected:
    static constexpr auto kLocale = "en_US";

    AppWorkspaceFixture() {
        model::ModelValidation::install(context);
        addCurrency("USD", "US Dollar", "1");
        addCurrency("EUR", "Euro", "0.9");
        model::Global::sharedInstanceInContext(context).setHomeCurrencyCode(QStringLiteral("USD"));
        for (const char* name : {"RefreshAllViews", "VT Categories Changed"}) {
            hub.observe(QString::fromLatin1(name), &hub,
                        [this](const platform::Notification& note) { posted.append(note.name); });
        }
    }

    static QString locale() { return QString::fromLatin1(kLocale); }

    void addCurrency(const char* code, const char* name, const char* rate) {
        model::Currency currency = model::Currency::insertInContext(context);
        currency.setCode(QString::fromLatin1(code));
        currency.setName(QString::fromLatin1(name));
        currency.setRate(amount(rate));
    }

    model::Account newAccount(const QString& name, const QString& type = QStringLiteral("checking"),
                              const char* startBalance = "0") {
        model::Account account = model::Account::insertInContext(context, clock);
        account.setName(name);
        account.setType(type);
        account.setStartBalance(amount(startBalance));
        return account;
    }

    model::Transaction newTransaction(model::Account& account, const char* value, const QString& title = {},
                                      objectstore::ManagedObject* category = nullptr) {
        return account.createTransactionWithDate(day(2024, 2, 20), title, amount(value), category, QString(),
                                                 std::nullopt, clock);
    }

    objectstore::ManagedObject* newCategory(const QString& name) {
        model::CategoryVT category = model::CategoryVT::insertInContext(context);
        category.setName(name);
        return category.object();
    }

    // A second context on the same store: sees only what was saved.
    std::unique_ptr<objectstore::Context> reloaded() const {
        return std::make_unique<objectstore::Context>(store);
    }

    // The object with the same id in another context.
    static objectstore::ManagedObject* in(const objectstore::Context& other,
                                          const objectstore::ManagedObject* object) {
        return other.object(object->id());
    }

    std::shared_ptr<objectstore::MemoryStore> store =
        std::make_shared<objectstore::MemoryStore>(model::DataModel::description());
    objectstore::Context context{store};
    ScriptedAlertPresenter alerts;
    platform::FixedClock clock{QDateTime(QDate(2024, 3, 1), QTime(12, 0), QTimeZone::utc()),
                               QTimeZone::utc()};
    QTemporaryDir folder;
    platform::UserDefaults defaults{folder.filePath(QStringLiteral("defaults.ini"))};
    platform::NotificationHub hub;
    app::Workspace workspace{context, alerts, clock, defaults, hub};
    QStringList posted;
};

} // namespace vantrel::testsupport
