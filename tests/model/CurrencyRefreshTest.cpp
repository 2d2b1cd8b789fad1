#include "model/CurrencyRefresh.h"

#include "model/Currency.h"
#include "model/CurrencyList.h"
#include "model/DataModel.h"
#include "model/Global.h"
#include "model/ModelValidation.h"
#include "platform/LogCapture.h"
#include "platform/PropertyList.h"
#include "platform/QtHttpClient.h"
#include "platform/ScopedEnvironmentVariable.h"
#include "platform/UserDefaults.h"
#include "platform/objectstore/Context.h"
#include "platform/objectstore/MemoryStore.h"
#include "support/EventLoopWait.h"
#include "support/LoopbackHttpServer.h"
#include "support/ModelValues.h"

#include <QSysInfo>
#include <QTemporaryDir>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <memory>

using namespace vantrel;
using namespace std::chrono_literals;
using model::Currency;
using model::CurrencyRefresh;
using testsupport::amount;
using testsupport::LoopbackHttpServer;
using testsupport::utf8;
using testsupport::waitUntil;

namespace {

QByteArray listWithEuroAt(const char* euroRate) {
    const QVariantList rates{
        QVariantMap{{"code", "USD"}, {"name", "US Dollar"}, {"rate", "1"}},
        QVariantMap{{"code", "EUR"}, {"name", "Euro"}, {"rate", QString::fromLatin1(euroRate)}},
    };
    return platform::PropertyList::toXml(
               QVariantMap{{"rates", rates},
                           {"timestamp", QDateTime(QDate(2024, 6, 3), QTime(6, 0), QTimeZone::utc())}})
        .data;
}

class CurrencyRefreshTest : public ::testing::Test {
protected:
    CurrencyRefreshTest() {
        model::ModelValidation::install(context);
        model::CurrencyList::updateCurrenciesInContext(context, listWithEuroAt("0.9"), defaults);
        Currency::changeUserHomeCurrencyTo(context, "USD");
        refresh.setTimeout(10s);
        QObject::connect(&refresh, &CurrencyRefresh::finished, [this] { ++finishedCount; });
    }

    void pointAtServer() {
        defaults.setValue(CurrencyRefresh::kServiceBaseUrlKey, server.baseUrl().toString());
    }

    // Starts the refresh and runs the event loop until its answer was handled.
    void runRefresh() {
        ASSERT_TRUE(refresh.start());
        ASSERT_TRUE(waitUntil([this] { return finishedCount > 0; }));
    }

    std::optional<model::Amount> euroRate() { return Currency::withCode(context, "EUR")->rate(); }

    // The machine's environment must not point a test at a real service.
    platform::testing::ScopedEnvironmentVariable environment{CurrencyRefresh::kServiceUrlVariable,
                                                             std::nullopt};
    std::shared_ptr<objectstore::MemoryStore> store =
        std::make_shared<objectstore::MemoryStore>(model::DataModel::description());
    objectstore::Context context{store};
    QTemporaryDir folder;
    platform::UserDefaults defaults{folder.filePath(QStringLiteral("defaults.ini"))};
    LoopbackHttpServer server;
    platform::QtHttpClient http;
    int saves = 0;
    int finishedCount = 0;
    CurrencyRefresh refresh{context, defaults, http, [this] { ++saves; }};
};

TEST_F(CurrencyRefreshTest, NewRatesAreAppliedAndSaved) {
    pointAtServer();
    server.enqueueOk(listWithEuroAt("0.95"));
    platform::LogCapture log;

    runRefresh();

    EXPECT_EQ(euroRate(), amount("0.95"));
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(log.lines(), QStringList{QStringLiteral("Updated rate for 1 currencies")});
    ASSERT_EQ(server.requests().size(), 1u);
    const QString databaseID = model::Global::sharedInstanceInContext(context).databaseID();
    ASSERT_FALSE(databaseID.isEmpty());
    const QString expectedToken = databaseID + u'_' + CurrencyRefresh::systemTag(QSysInfo::kernelVersion());
    EXPECT_EQ(utf8(QString::fromLatin1(server.requests().front().target)),
              utf8(QStringLiteral("/currencies.plist?token=") +
                   QString::fromLatin1(QUrl::toPercentEncoding(expectedToken))));
    EXPECT_EQ(server.requests().front().method, QByteArray("GET"));
}

TEST_F(CurrencyRefreshTest, UnchangedRatesAreNotSaved) {
    pointAtServer();
    server.enqueueOk(listWithEuroAt("0.9"));

    runRefresh();

    EXPECT_EQ(saves, 0);
    EXPECT_EQ(euroRate(), amount("0.9"));
}

TEST_F(CurrencyRefreshTest, AMalformedAnswerChangesNothing) {
    pointAtServer();
    server.enqueueOk("<html>maintenance</html>");
    platform::LogCapture log;

    runRefresh();

    EXPECT_EQ(euroRate(), amount("0.9"));
    EXPECT_EQ(saves, 0);
    EXPECT_EQ(log.lines(), QStringList{QStringLiteral("WARNING: UNEXPECTED currencies.plist")});
}

TEST_F(CurrencyRefreshTest, AnErrorStatusIsAFailureEvenWithAListInTheBody) {
    pointAtServer();
    server.enqueue({500, listWithEuroAt("0.99")});
    platform::LogCapture log;

    runRefresh();

    EXPECT_EQ(euroRate(), amount("0.9"));
    EXPECT_EQ(saves, 0);
    EXPECT_EQ(log.lines(),
              QStringList{QStringLiteral("Error getting rates: The server answered with HTTP status 500.")});
}

TEST_F(CurrencyRefreshTest, AServerThatNeverAnswersTimesOut) {
    pointAtServer();
    LoopbackHttpServer::Reply silence;
    silence.hang = true;
    server.enqueue(silence);
    refresh.setTimeout(300ms);
    platform::LogCapture log;

    runRefresh();

    EXPECT_EQ(euroRate(), amount("0.9"));
    EXPECT_EQ(saves, 0);
    EXPECT_EQ(log.lines(), QStringList{QStringLiteral("Error getting rates: ") +
                                       platform::QtHttpClient::timeoutDescription()});
}

TEST_F(CurrencyRefreshTest, WithoutAServiceAddressNothingIsRequested) {
    platform::LogCapture log;

    EXPECT_FALSE(refresh.start());
    waitUntil([] { return false; }, 200ms);

    EXPECT_EQ(log.lines(),
              QStringList{QStringLiteral("Currency refresh skipped: no service address configured")});
    EXPECT_TRUE(server.requests().empty());
    EXPECT_EQ(finishedCount, 0);
}

TEST_F(CurrencyRefreshTest, TheEnvironmentNamesTheServiceWhenTheUserDefaultDoesNot) {
    const platform::testing::ScopedEnvironmentVariable service(
        CurrencyRefresh::kServiceUrlVariable, server.baseUrl().toString().toUtf8() + "/api/");
    server.enqueueOk(listWithEuroAt("0.95"));

    runRefresh();

    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_TRUE(server.requests().front().target.startsWith("/api/currencies.plist?token="));
    EXPECT_EQ(euroRate(), amount("0.95"));

    // The user default wins over the environment.
    defaults.setValue(CurrencyRefresh::kServiceBaseUrlKey, QStringLiteral("http://127.0.0.1:1/elsewhere"));
    EXPECT_EQ(CurrencyRefresh::serviceBaseUrl(defaults)->path(), QStringLiteral("/elsewhere"));
}

TEST(CurrencyRefreshAddressTest, TheRequestAddressCarriesTheEncodedToken) {
    EXPECT_EQ(CurrencyRefresh::requestUrl(QUrl("https://rates.example.com/v1/"), "ab 12&x=y_m6.1")
                  .toString(QUrl::FullyEncoded),
              QStringLiteral("https://rates.example.com/v1/currencies.plist?token=ab%2012%26x%3Dy_m6.1"));
    EXPECT_EQ(CurrencyRefresh::requestUrl(QUrl("http://127.0.0.1:8080"), "t").toString(QUrl::FullyEncoded),
              QStringLiteral("http://127.0.0.1:8080/currencies.plist?token=t"));
    EXPECT_EQ(CurrencyRefresh::token("5F0C", "m6.1"), QStringLiteral("5F0C_m6.1"));
}

TEST(CurrencyRefreshAddressTest, TheSystemTagIsTheKernelsMajorAndMinorVersion) {
    EXPECT_EQ(CurrencyRefresh::systemTag("6.1.0-18-amd64"), QStringLiteral("m6.1"));
    EXPECT_EQ(CurrencyRefresh::systemTag("5.15.153.1-microsoft-standard-WSL2"), QStringLiteral("m5.15"));
    EXPECT_EQ(CurrencyRefresh::systemTag("6"), QStringLiteral("m0.0"));
    EXPECT_EQ(CurrencyRefresh::systemTag(""), QStringLiteral("m0.0"));
}

TEST(CurrencyRefreshAddressTest, OnlyAbsoluteAddressesNameTheService) {
    QTemporaryDir folder;
    platform::UserDefaults defaults(folder.filePath(QStringLiteral("defaults.ini")));
    const platform::testing::ScopedEnvironmentVariable environment(CurrencyRefresh::kServiceUrlVariable,
                                                                   std::nullopt);

    EXPECT_FALSE(CurrencyRefresh::serviceBaseUrl(defaults));
    defaults.setValue(CurrencyRefresh::kServiceBaseUrlKey, QStringLiteral("not an address"));
    EXPECT_FALSE(CurrencyRefresh::serviceBaseUrl(defaults));
    defaults.setValue(CurrencyRefresh::kServiceBaseUrlKey, QStringLiteral("  https://rates.example.com  "));
    ASSERT_TRUE(CurrencyRefresh::serviceBaseUrl(defaults));
    EXPECT_EQ(CurrencyRefresh::serviceBaseUrl(defaults)->host(), QStringLiteral("rates.example.com"));
}

} // namespace
