#include "app/CurrenciesPaneModel.h"

#include "app/Workspace.h"
#include "model/Currency.h"
#include "model/CurrencyList.h"
#include "model/DataModel.h"
#include "model/Global.h"
#include "model/ModelValidation.h"
#include "platform/Clock.h"
#include "platform/NotificationHub.h"
#include "platform/NotificationNames.h"
#include "platform/UserDefaults.h"
#include "platform/objectstore/Context.h"
#include "platform/objectstore/MemoryStore.h"
#include "support/ModelValues.h"
#include "support/ScriptedAlertPresenter.h"

#include <QTemporaryDir>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <memory>

using namespace vantrel;
using app::CurrenciesPaneModel;
using testsupport::amount;
using testsupport::utf8;

namespace {

QDateTime utc(int year, int month, int day, int hour, int minute = 0) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute), QTimeZone::utc());
}

class CurrenciesPaneModelTest : public ::testing::Test {
protected:
    CurrenciesPaneModelTest() {
        model::ModelValidation::install(context);
        add("USD", "US Dollar", "1");
        add("EUR", "Euro", "0.92");
        add("GBP", "British Pound", "0.79");
        add("JPY", "Japanese Yen", "150");
        add("AFN", "afghan Afghani", "71.5");
        model::Currency::changeUserHomeCurrencyTo(context, "USD");
        EXPECT_TRUE(context.save().succeeded());
    }

    void add(const char* code, const char* name, const char* rate) {
        model::Currency currency = model::Currency::insertInContext(context);
        currency.setCode(QString::fromLatin1(code));
        currency.setName(QString::fromUtf8(name));
        currency.setRate(amount(rate));
    }

    void setUpdatedAt(const QDateTime& instant) {
        defaults.setValue(QString::fromLatin1(model::CurrencyList::kRatesUpdatedAtKey), instant);
    }

    static std::vector<std::string> describe(const std::vector<CurrenciesPaneModel::Row>& rows) {
        std::vector<std::string> lines;
        for (const CurrenciesPaneModel::Row& row : rows) {
            lines.push_back(utf8(row.code + u' ' + row.name + u' ' + row.rate));
        }
        return lines;
    }

    static std::vector<std::string> titles(const std::vector<CurrenciesPaneModel::MenuItem>& items) {
        std::vector<std::string> lines;
        for (const CurrenciesPaneModel::MenuItem& item : items) {
            lines.push_back(utf8(item.code + u' ' + item.title));
        }
        return lines;
    }

    std::shared_ptr<objectstore::MemoryStore> store =
        std::make_shared<objectstore::MemoryStore>(model::DataModel::description());
    objectstore::Context context{store};
    testsupport::ScriptedAlertPresenter alerts;
    platform::FixedClock clock{utc(2024, 6, 4, 10), QTimeZone::utc()};
    QTemporaryDir folder;
    platform::UserDefaults defaults{folder.filePath(QStringLiteral("defaults.ini"))};
    platform::NotificationHub hub;
    app::Workspace workspace{context, alerts, clock, defaults, hub};
    CurrenciesPaneModel pane{workspace, QStringLiteral("en_US")};
};

TEST_F(CurrenciesPaneModelTest, TheTableListsEveryOtherCurrencyByNameInHomeUnits) {
    EXPECT_EQ(describe(pane.rows()), (std::vector<std::string>{
                                         "AFN afghan Afghani 71.5",
                                         "GBP British Pound 0.79",
                                         "EUR Euro 0.92",
                                         "JPY Japanese Yen 150",
                                     }));
    EXPECT_EQ(utf8(pane.rateColumnHeader()), "Units per USD");
}

TEST_F(CurrenciesPaneModelTest, TheHomeCurrencyMenuStartsWithTheHomeCurrency) {
    EXPECT_EQ(titles(pane.homeCurrencyMenu()), (std::vector<std::string>{
                                                   "USD US Dollar",
                                                   "AFN afghan Afghani",
                                                   "GBP British Pound",
                                                   "EUR Euro",
                                                   "JPY Japanese Yen",
                                               }));
}

TEST_F(CurrenciesPaneModelTest, ChangingTheHomeCurrencySavesAndRefreshesEveryView) {
    int refreshes = 0;
    QObject receiver;
    hub.observe(QString::fromLatin1(platform::kRefreshAllViews), &receiver,
                [&](const platform::Notification&) { ++refreshes; });

    EXPECT_TRUE(pane.changeHomeCurrency(QStringLiteral("EUR")));

    EXPECT_EQ(refreshes, 1);
    EXPECT_FALSE(context.hasChanges());
    objectstore::Context reopened(store);
    EXPECT_EQ(utf8(model::Global::sharedInstanceInContext(reopened).homeCurrencyCode()), "EUR");
    EXPECT_EQ(utf8(pane.rateColumnHeader()), "Units per EUR");
    EXPECT_EQ(describe(pane.rows()), (std::vector<std::string>{
                                         "AFN afghan Afghani 77.7173913043",
                                         "GBP British Pound 0.8586956522",
                                         "JPY Japanese Yen 163.0434782609",
                                         "USD US Dollar 1.0869565217",
                                     }));
    EXPECT_EQ(titles(pane.homeCurrencyMenu()).front(), "EUR Euro");

    // Picking the home currency again is no change.
    EXPECT_FALSE(pane.changeHomeCurrency(QStringLiteral("EUR")));
    EXPECT_EQ(refreshes, 1);
    EXPECT_TRUE(alerts.shown().empty());
}

TEST_F(CurrenciesPaneModelTest, LastUpdatedNamesNearbyDaysAndDatesOtherwise) {
    EXPECT_EQ(utf8(pane.lastUpdatedText()), "Last Updated: Never");

    setUpdatedAt(utc(2024, 6, 4, 0, 5));
    EXPECT_EQ(utf8(pane.lastUpdatedText()), "Last Updated: Today");
    setUpdatedAt(utc(2024, 6, 3, 23, 59));
    EXPECT_EQ(utf8(pane.lastUpdatedText()), "Last Updated: Yesterday");
    setUpdatedAt(utc(2024, 6, 2, 12));
    EXPECT_EQ(utf8(pane.lastUpdatedText()), "Last Updated: Jun 2, 2024");
    setUpdatedAt(utc(2023, 12, 25, 12));
    EXPECT_EQ(utf8(pane.lastUpdatedText()), "Last Updated: Dec 25, 2023");

    CurrenciesPaneModel german(workspace, QStringLiteral("de_DE"));
    setUpdatedAt(utc(2024, 6, 4, 8));
    EXPECT_EQ(utf8(german.lastUpdatedText()), "Last Updated: Heute");
    setUpdatedAt(utc(2024, 6, 1, 8));
    EXPECT_EQ(utf8(german.lastUpdatedText()), "Last Updated: 01.06.2024");
}

TEST_F(CurrenciesPaneModelTest, TodayIsTheDayOnTheUsersClock) {
    // 23:30 UTC on June 3 is already June 4 in Berlin, where it is now the morning of June 4.
    clock.setTimeZone(QTimeZone("Europe/Berlin"));
    setUpdatedAt(utc(2024, 6, 3, 23, 30));
    EXPECT_EQ(utf8(pane.lastUpdatedText()), "Last Updated: Today");

    clock.setTimeZone(QTimeZone("America/Los_Angeles"));
    // Now 03:00 on June 4 there; the update was at 16:30 on June 3.
    EXPECT_EQ(utf8(pane.lastUpdatedText()), "Last Updated: Yesterday");
}

} // namespace
