#include "model/Currency.h"

#include "model/Account.h"
#include "model/DataModel.h"
#include "model/Global.h"
#include "model/ModelValidation.h"
#include "model/Transaction.h"
#include "platform/Clock.h"
#include "platform/InternalError.h"
#include "platform/objectstore/Context.h"
#include "platform/objectstore/MemoryStore.h"
#include "support/ModelValues.h"

#include <gtest/gtest.h>

#include <memory>

using namespace vantrel;
using model::Amount;
using model::Currency;
using testsupport::amount;
using testsupport::utf8;

namespace {

class CurrencyTest : public ::testing::Test {
protected:
    CurrencyTest() { model::ModelValidation::install(context); }

    Currency add(const char* code, const char* name, const char* rate) {
        Currency currency = Currency::insertInContext(context);
        currency.setCode(QString::fromLatin1(code));
        currency.setName(QString::fromUtf8(name));
        currency.setRate(amount(rate));
        return currency;
    }

    std::string internalErrorOf(const std::function<void()>& action) {
        try {
            action();
        } catch (const platform::InternalError& error) {
            return utf8(error.message());
        }
        return "(no error)";
    }

    std::shared_ptr<objectstore::MemoryStore> store =
        std::make_shared<objectstore::MemoryStore>(model::DataModel::description());
    objectstore::Context context{store};
    const platform::FixedClock clock{QDateTime(QDate(2024, 3, 1), QTime(12, 0), QTimeZone::utc()),
                                     QTimeZone::utc()};
};

TEST_F(CurrencyTest, ExchangeScalesByTheRatioOfRatesAndRoundsToCents) {
    const Currency a = add("AAA", "A", "1.25");
    const Currency one = add("ONE", "One", "1.0");
    const Currency three = add("TRE", "Three", "3");

    EXPECT_EQ(Currency::exchange(amount("10.00"), a, one), amount("8.00"));
    EXPECT_EQ(Currency::exchange(amount("10.00"), three, one), amount("3.33"));
    EXPECT_EQ(Currency::exchange(amount("10.00"), three, one).scale(), 2);
    EXPECT_EQ(Currency::exchange(amount("-10.00"), three, one), amount("-3.33"));
    // Ties go away from zero, not to the even cent.
    const Currency two = add("TWO", "Two", "2");
    EXPECT_EQ(Currency::exchange(amount("0.05"), two, one), amount("0.03"));
    EXPECT_EQ(Currency::exchange(amount("-0.05"), two, one), amount("-0.03"));
    EXPECT_EQ(Currency::exchange(amount("10.00"), one, three), amount("30.00"));
}

TEST_F(CurrencyTest, ExchangeBetweenEqualRatesKeepsTheAmountUnrounded) {
    const Currency first = add("AAA", "A", "1.5");
    const Currency second = add("BBB", "B", "1.50");

    const Amount result = Currency::exchange(amount("12.345"), first, second);
    EXPECT_EQ(result, amount("12.345"));
    EXPECT_EQ(result.scale(), 3);
}

TEST_F(CurrencyTest, ExchangeWithoutBothCurrenciesIsAnInternalError) {
    const Currency euro = add("EUR", "Euro", "0.92");

    EXPECT_EQ(internalErrorOf([&] { Currency::exchange(amount("1"), euro, std::nullopt); }),
              "Both source and destination currencies cannot be nil. Source: EUR, destination: (null)");
    EXPECT_EQ(internalErrorOf([&] { Currency::exchange(amount("1"), std::nullopt, euro); }),
              "Both source and destination currencies cannot be nil. Source: (null), destination: EUR");
}

TEST_F(CurrencyTest, ExchangeByCodeLeavesAmountsOfUnknownCurrenciesAlone) {
    add("USD", "US Dollar", "1");
    add("EUR", "Euro", "0.8");

    EXPECT_EQ(Currency::exchangeByCode(context, amount("10.00"), "USD", "EUR"), amount("8.00"));
    EXPECT_EQ(Currency::exchangeByCode(context, amount("10.00"), "EUR", "USD"), amount("12.50"));
    EXPECT_EQ(Currency::exchangeByCode(context, amount("10.00"), "XYZ", "EUR"), amount("10.00"));
    EXPECT_EQ(Currency::exchangeByCode(context, amount("10.00"), "USD", ""), amount("10.00"));

    Currency::changeUserHomeCurrencyTo(context, "EUR");
    EXPECT_EQ(Currency::toHomeCurrency(context, amount("5.00"), "USD"), amount("4.00"));
    EXPECT_EQ(Currency::toHomeCurrency(context, amount("5.00"), "EUR"), amount("5.00"));
}

TEST_F(CurrencyTest, RatesAreParsedAndRoundedPlainToTenPlaces) {
    EXPECT_EQ(Currency::decimalFromStringRate("0.12345678905"), amount("0.1234567891"));
    EXPECT_EQ(Currency::decimalFromStringRate("0.12345678904"), amount("0.1234567890"));
    EXPECT_EQ(Currency::decimalFromStringRate("-0.00000000005"), amount("-0.0000000001"));
    EXPECT_EQ(Currency::decimalFromStringRate(" 150 "), amount("150"));
    EXPECT_EQ(Currency::decimalFromStringRate("1.5E2"), amount("150"));
    EXPECT_FALSE(Currency::decimalFromStringRate("abc"));
    EXPECT_FALSE(Currency::decimalFromStringRate(""));
    EXPECT_FALSE(Currency::decimalFromStringRate("1,5"));
}

TEST_F(CurrencyTest, RateBasedOnAnotherCurrencyIsTheRatioToTenPlaces) {
    add("USD", "US Dollar", "1");
    const Currency euro = add("EUR", "Euro", "0.92");
    const Currency pound = add("GBP", "British Pound", "0.79");
    const Currency yen = add("JPY", "Japanese Yen", "150");

    EXPECT_EQ(euro.rateBasedOn(pound), amount("1.1645569620"));
    EXPECT_EQ(pound.rateBasedOn(euro), amount("0.8586956522"));
    EXPECT_EQ(yen.rateBasedOn(euro), amount("163.0434782609"));

    Currency::changeUserHomeCurrencyTo(context, "USD");
    EXPECT_EQ(euro.rateBasedOnHomeCurrency(), amount("0.92"));
    Currency::changeUserHomeCurrencyTo(context, "GBP");
    EXPECT_EQ(euro.rateBasedOnHomeCurrency(), amount("1.1645569620"));
}

TEST_F(CurrencyTest, WithCodeFindsOneCurrencyAndRefusesDuplicates) {
    const Currency euro = add("EUR", "Euro", "0.92");
    ASSERT_TRUE(Currency::withCode(context, "EUR"));
    EXPECT_EQ(*Currency::withCode(context, "EUR"), euro);
    EXPECT_FALSE(Currency::withCode(context, "eur"));
    EXPECT_FALSE(Currency::withCode(context, "GBP"));

    add("EUR", "Euro again", "0.93");
    EXPECT_EQ(internalErrorOf([&] { Currency::withCode(context, "EUR"); }),
              "Unexpected currency count of 2 for code EUR");
}

TEST_F(CurrencyTest, HomeCurrencyMustBeGivenAndExist) {
    add("USD", "US Dollar", "1");

    EXPECT_EQ(internalErrorOf([&] { Currency::changeUserHomeCurrencyTo(context, ""); }),
              "should specify a home currency to set to");
    EXPECT_EQ(internalErrorOf([&] { Currency::changeUserHomeCurrencyTo(context, "EUR"); }),
              "The specified currency should exist");
    EXPECT_FALSE(Currency::homeCurrencyInContext(context));

    Currency::changeUserHomeCurrencyTo(context, "USD");
    ASSERT_TRUE(Currency::homeCurrencyInContext(context));
    EXPECT_EQ(utf8(Currency::homeCurrencyInContext(context)->code()), "USD");
    EXPECT_EQ(context.count(u"Global"), 1u);
}

TEST_F(CurrencyTest, ChangingTheHomeCurrencyChangesNoStoredCodeOrAmount) {
    add("USD", "US Dollar", "1");
    add("EUR", "Euro", "0.8");
    Currency::changeUserHomeCurrencyTo(context, "USD");
    model::Account dollars = model::Account::insertInContext(context, clock);
    model::Account euros = model::Account::insertInContext(context, clock);
    euros.setCurrencyCode("EUR");
    model::Transaction payment = model::Transaction::insertInContext(context, clock);
    payment.setAccount(dollars.object());
    payment.setAmount(amount("-10.00"));
    model::Transaction refund = model::Transaction::insertInContext(context, clock);
    refund.setAccount(euros.object());
    refund.setAmount(amount("4.00"));
    ASSERT_EQ(utf8(dollars.currencyCode()), "USD");
    EXPECT_FALSE(dollars.isForeign());
    EXPECT_TRUE(euros.isForeign());
    EXPECT_EQ(refund.amountInHomeCurrency(), amount("5.00"));

    Currency::changeUserHomeCurrencyTo(context, "EUR");

    EXPECT_EQ(utf8(dollars.currencyCode()), "USD");
    EXPECT_EQ(utf8(euros.currencyCode()), "EUR");
    EXPECT_EQ(payment.amount(), amount("-10.00"));
    EXPECT_EQ(refund.amount(), amount("4.00"));
    EXPECT_TRUE(dollars.isForeign());
    EXPECT_FALSE(euros.isForeign());
    EXPECT_EQ(payment.amountInHomeCurrency(), amount("-8.00"));
    EXPECT_EQ(refund.amountInHomeCurrency(), amount("4.00"));
}

TEST_F(CurrencyTest, MenuOrderPutsTheHomeCurrencyFirstThenNamesIgnoringCase) {
    const Currency dollar = add("USD", "US Dollar", "1");
    const Currency afghani = add("AFN", "afghan Afghani", "71.5");
    const Currency euro = add("EUR", "Euro", "0.92");

    EXPECT_TRUE(Currency::precedesWithHomeCurrencyOnTop(dollar, afghani, "USD"));
    EXPECT_FALSE(Currency::precedesWithHomeCurrencyOnTop(afghani, dollar, "USD"));
    EXPECT_TRUE(Currency::precedesWithHomeCurrencyOnTop(afghani, euro, "USD"));
    EXPECT_FALSE(Currency::precedesWithHomeCurrencyOnTop(euro, afghani, "USD"));
    EXPECT_TRUE(Currency::precedesWithHomeCurrencyOnTop(euro, dollar, "GBP"));
    EXPECT_FALSE(Currency::precedesWithHomeCurrencyOnTop(euro, euro, "GBP"));
}

} // namespace
