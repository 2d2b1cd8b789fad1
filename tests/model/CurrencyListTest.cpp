#include "model/CurrencyList.h"

#include "model/Currency.h"
#include "model/DataModel.h"
#include "model/Global.h"
#include "model/ModelValidation.h"
#include "platform/InternalError.h"
#include "platform/LogCapture.h"
#include "platform/PropertyList.h"
#include "platform/UserDefaults.h"
#include "platform/objectstore/Context.h"
#include "platform/objectstore/MemoryStore.h"
#include "support/ModelValues.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <memory>

using namespace vantrel;
using model::Currency;
using model::CurrencyList;
using platform::PropertyList;
using testsupport::amount;
using testsupport::utf8;

namespace {

struct ListEntry {
    QVariant code;
    QVariant name;
    QVariant rate;
};

QDateTime utc(int year, int month, int day) {
    return QDateTime(QDate(year, month, day), QTime(0, 0), QTimeZone::utc());
}

QByteArray listData(const std::vector<ListEntry>& entries, const QDateTime& timestamp = utc(2024, 6, 3)) {
    QVariantList rates;
    for (const ListEntry& entry : entries) {
        QVariantMap element;
        if (entry.code.isValid()) {
            element.insert(QStringLiteral("code"), entry.code);
        }
        if (entry.name.isValid()) {
            element.insert(QStringLiteral("name"), entry.name);
        }
        if (entry.rate.isValid()) {
            element.insert(QStringLiteral("rate"), entry.rate);
        }
        rates.append(element);
    }
    const PropertyList::WriteResult written = PropertyList::toXml(
        QVariantMap{{QStringLiteral("rates"), rates}, {QStringLiteral("timestamp"), timestamp}});
    EXPECT_TRUE(written.ok());
    return written.data;
}

const std::vector<ListEntry> kThree{
    {"USD", "US Dollar", "1"},
    {"EUR", "Euro", "0.92"},
    {"GBP", "British Pound", "0.79"},
};

QStringList linesMentioning(const QStringList& lines, const QStringList& words) {
    QStringList found;
    for (const QString& line : lines) {
        for (const QString& word : words) {
            if (line.contains(word)) {
                found.append(line);
                break;
            }
        }
    }
    return found;
}

class CurrencyListTest : public ::testing::Test {
protected:
    CurrencyListTest() { model::ModelValidation::install(context); }

    std::optional<model::Amount> rateOf(const QString& code) {
        const std::optional<Currency> currency = Currency::withCode(context, code);
        return currency ? currency->rate() : std::nullopt;
    }

    QString nameOf(const QString& code) {
        const std::optional<Currency> currency = Currency::withCode(context, code);
        return currency ? currency->name() : QStringLiteral("(missing)");
    }

    bool apply(const QByteArray& data) {
        return CurrencyList::updateCurrenciesInContext(context, data, defaults);
    }

    std::shared_ptr<objectstore::MemoryStore> store =
        std::make_shared<objectstore::MemoryStore>(model::DataModel::description());
    objectstore::Context context{store};
    QTemporaryDir folder;
    platform::UserDefaults defaults{folder.filePath(QStringLiteral("defaults.ini"))};
};

TEST_F(CurrencyListTest, TheShippedListSeedsEveryCurrency) {
    QFile resource(CurrencyList::defaultCurrenciesPath());
    ASSERT_TRUE(resource.open(QIODevice::ReadOnly)) << "the resource is not linked into the executable";
    const PropertyList::ReadResult shipped = PropertyList::read(resource.readAll());
    ASSERT_TRUE(shipped.ok());
    const qsizetype listed = shipped.value.toMap().value(QStringLiteral("rates")).toList().size();
    ASSERT_GE(listed, 150);

    platform::LogCapture log;
    CurrencyList::seedCurrenciesInContext(context, CurrencyList::defaultCurrenciesPath(), defaults);

    EXPECT_EQ(context.count(u"Currency"), static_cast<std::size_t>(listed));
    EXPECT_EQ(utf8(nameOf("EUR")), "Euro");
    EXPECT_EQ(rateOf("USD"), amount("1"));
    EXPECT_GT(*rateOf("JPY"), amount("100"));
    EXPECT_FALSE(Currency::withCode(context, "XXX"));
    EXPECT_FALSE(Currency::withCode(context, "XAU"));
    // Every entry is usable and the codes are unique: nothing skipped, nothing inconsistent.
    EXPECT_EQ(log.lines(), QStringList{QStringLiteral("Added %1 currencies").arg(listed)});
    EXPECT_EQ(defaults.value(CurrencyList::kRatesUpdatedAtKey).toDateTime(), utc(2024, 6, 3));
    EXPECT_TRUE(context.save().succeeded());
}

TEST_F(CurrencyListTest, ApplyingTheSameListAgainChangesNothing) {
    EXPECT_FALSE(apply(listData(kThree)));
    platform::LogCapture log;

    EXPECT_FALSE(apply(listData(kThree)));

    EXPECT_TRUE(log.lines().isEmpty()) << utf8(log.lines().join('\n'));
    EXPECT_EQ(context.count(u"Currency"), 3u);
}

TEST_F(CurrencyListTest, AChangedRateIsTakenAndReported) {
    apply(listData(kThree));
    platform::LogCapture log;

    EXPECT_TRUE(apply(
        listData({{"USD", "US Dollar", "1"}, {"EUR", "Euro", "0.9345"}, {"GBP", "British Pound", "0.79"}},
                 utc(2024, 6, 4))));

    EXPECT_EQ(rateOf("EUR"), amount("0.9345"));
    EXPECT_EQ(log.lines(), QStringList{QStringLiteral("Updated rate for 1 currencies")});
    EXPECT_EQ(defaults.value(CurrencyList::kRatesUpdatedAtKey).toDateTime(), utc(2024, 6, 4));
}

TEST_F(CurrencyListTest, ANewNameIsTakenButIsNoRateChange) {
    apply(listData(kThree));
    platform::LogCapture log;

    EXPECT_FALSE(apply(listData(
        {{"USD", "US Dollar", "1"}, {"EUR", "Euro (EU)", "0.92"}, {"GBP", "British Pound", "0.79"}})));

    EXPECT_EQ(utf8(nameOf("EUR")), "Euro (EU)");
    EXPECT_EQ(log.lines(), QStringList{QStringLiteral("Updating name for currency EUR")});
}

TEST_F(CurrencyListTest, ANewCurrencyIsAddedWithoutCountingAsARateChange) {
    apply(listData(kThree));
    std::vector<ListEntry> four = kThree;
    four.push_back({"CHF", "Swiss Franc", "0.9"});
    platform::LogCapture log;

    EXPECT_FALSE(apply(listData(four)));

    EXPECT_EQ(rateOf("CHF"), amount("0.9"));
    EXPECT_EQ(log.lines(), QStringList{QStringLiteral("Added 1 currencies")});
}

TEST_F(CurrencyListTest, AListOmittingAStoredCurrencyStillUpdatesTheOthers) {
    apply(listData(kThree));
    platform::LogCapture log;

    EXPECT_TRUE(apply(listData({{"USD", "US Dollar", "1"}, {"EUR", "Euro", "0.95"}})));

    EXPECT_EQ(rateOf("EUR"), amount("0.95"));
    EXPECT_EQ(rateOf("GBP"), amount("0.79"));
    EXPECT_EQ(
        log.lines(),
        (QStringList{QStringLiteral("Updated rate for 1 currencies"),
                     QStringLiteral("Internal currencies inconsistent with default currencies list.")}));
}

TEST_F(CurrencyListTest, DataThatIsNoListChangesNothing) {
    apply(listData(kThree));
    const QList<QByteArray> notLists{
        QByteArray("<html><body>Service unavailable</body></html>"),
        QByteArray(),
        listData(kThree).left(300),
        PropertyList::toXml(QVariantList{QStringLiteral("rates")}).data,
        PropertyList::toXml(QVariantMap{{QStringLiteral("timestamp"), utc(2030, 1, 1)}}).data,
        PropertyList::toXml(QVariantMap{{QStringLiteral("rates"), QStringLiteral("EUR")},
                                        {QStringLiteral("timestamp"), utc(2030, 1, 1)}})
            .data,
    };
    for (const QByteArray& data : notLists) {
        platform::LogCapture log;
        EXPECT_FALSE(apply(data));
        EXPECT_EQ(log.lines(), QStringList{QStringLiteral("WARNING: UNEXPECTED currencies.plist")});
    }
    EXPECT_EQ(context.count(u"Currency"), 3u);
    EXPECT_EQ(rateOf("EUR"), amount("0.92"));
    EXPECT_EQ(defaults.value(CurrencyList::kRatesUpdatedAtKey).toDateTime(), utc(2024, 6, 3));
}

TEST_F(CurrencyListTest, UnusableEntriesAreSkippedAndLoggedWhileTheRestApplies) {
    apply(listData(kThree));
    platform::LogCapture log;

    EXPECT_TRUE(apply(listData({
        {"USD", "US Dollar", "1"},
        {QVariant(), "No Code", "2"},
        {"EUR", "Euro", "not a number"},
        {"GBP", "British Pound", "0.81"},
        {"ZZZ", "Zero", "0"},
        {"NEG", "Negative", "-1"},
        {"NON", QVariant(), "1"},
        {"  ", "Blank", "1"},
        {"BIG", "Big", "1E200"},
        {"HUG", "Huge", 1e300},
    })));

    EXPECT_EQ(rateOf("EUR"), amount("0.92"));
    EXPECT_EQ(rateOf("GBP"), amount("0.81"));
    EXPECT_EQ(context.count(u"Currency"), 3u);
    EXPECT_EQ(linesMentioning(log.lines(), {QStringLiteral("Skipped")}),
              (QStringList{QStringLiteral("Skipped currency list entry 1: no code"),
                           QStringLiteral("Skipped currency list entry 2: no usable rate for EUR"),
                           QStringLiteral("Skipped currency list entry 4: no usable rate for ZZZ"),
                           QStringLiteral("Skipped currency list entry 5: no usable rate for NEG"),
                           QStringLiteral("Skipped currency list entry 6: no name for NON"),
                           QStringLiteral("Skipped currency list entry 7: no code"),
                           QStringLiteral("Skipped currency list entry 8: no usable rate for BIG"),
                           QStringLiteral("Skipped currency list entry 9: no usable rate for HUG")}));
    EXPECT_TRUE(log.lines().contains(QStringLiteral("Updated rate for 1 currencies")));
    EXPECT_TRUE(context.save().succeeded());
}

TEST_F(CurrencyListTest, NumericRatesAreReadByTheirExactText) {
    const QByteArray data =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict><key>rates</key><array>"
        "<dict><key>code</key><string>AAA</string><key>name</key><string>A</string>"
        "<key>rate</key><real>0.12345678905</real></dict>"
        "<dict><key>code</key><string>BBB</string><key>name</key><string>B</string>"
        "<key>rate</key><real>0.1</real></dict>"
        "<dict><key>code</key><string>CCC</string><key>name</key><string>C</string>"
        "<key>rate</key><integer>3</integer></dict>"
        "<dict><key>code</key><string>DDD</string><key>name</key><string>D</string>"
        "<key>rate</key><string>0.12345678905</string></dict>"
        "</array><key>timestamp</key><date>2024-06-03T00:00:00Z</date></dict></plist>";

    apply(data);

    EXPECT_EQ(rateOf("AAA"), amount("0.1234567891"));
    EXPECT_EQ(rateOf("BBB"), amount("0.1"));
    EXPECT_EQ(rateOf("CCC"), amount("3"));
    EXPECT_EQ(rateOf("DDD"), amount("0.1234567891"));
}

TEST_F(CurrencyListTest, SeedingOverChangedRatesIsAnInternalError) {
    QTemporaryDir files;
    const QString path = files.filePath(QStringLiteral("list.plist"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(listData(kThree));
    file.close();

    CurrencyList::seedCurrenciesInContext(context, path, defaults);
    // Seeding the same list again is harmless.
    CurrencyList::seedCurrenciesInContext(context, path, defaults);

    Currency::withCode(context, "EUR")->setRate(amount("0.5"));
    try {
        CurrencyList::seedCurrenciesInContext(context, path, defaults);
        ADD_FAILURE() << "seeding over a changed rate was accepted";
    } catch (const platform::InternalError& error) {
        EXPECT_EQ(utf8(error.message()), "Failed to seed currencies");
    }
    EXPECT_THROW(CurrencyList::seedCurrenciesInContext(
                     context, files.filePath(QStringLiteral("missing.plist")), defaults),
                 platform::InternalError);
}

TEST_F(CurrencyListTest, TheHomeCurrencyFollowsTheLocaleWhenListed) {
    apply(listData(kThree));

    EXPECT_EQ(utf8(CurrencyList::chooseHomeCurrency(context, "de_DE")), "EUR");
    EXPECT_EQ(utf8(model::Global::sharedInstanceInContext(context).homeCurrencyCode()), "EUR");
    EXPECT_EQ(utf8(CurrencyList::chooseHomeCurrency(context, "en_GB")), "GBP");
    // The yen is not in this list; a locale without a country names no currency at all.
    EXPECT_EQ(utf8(CurrencyList::chooseHomeCurrency(context, "ja_JP")), "USD");
    EXPECT_EQ(utf8(model::Global::sharedInstanceInContext(context).homeCurrencyCode()), "USD");
    EXPECT_EQ(utf8(CurrencyList::chooseHomeCurrency(context, "fr")), "USD");
}

TEST_F(CurrencyListTest, WithoutTheLocaleCurrencyOrUSDNoHomeCurrencyIsChosen) {
    apply(listData({{"EUR", "Euro", "0.92"}}));

    try {
        CurrencyList::chooseHomeCurrency(context, "ja_JP");
        ADD_FAILURE() << "a home currency was chosen";
    } catch (const platform::InternalError& error) {
        EXPECT_EQ(utf8(error.message()), "could not find USD currency");
    }
    EXPECT_EQ(utf8(CurrencyList::chooseHomeCurrency(context, "de_AT")), "EUR");
}

} // namespace
