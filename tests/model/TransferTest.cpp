#include "MoneyFixture.h"
#include "model/TransferSetting.h"
#include "platform/LogCapture.h"
#include "platform/NotificationHub.h"
#include "platform/NotificationNames.h"

using namespace vantrel::model;
using vantrel::objectstore::ManagedObject;
using vantrel::platform::LogCapture;
using vantrel::platform::Notification;
using vantrel::platform::NotificationHub;
using vantrel::testsupport::amount;
using vantrel::testsupport::day;
using vantrel::testsupport::MoneyFixture;

namespace {

class TransferTest : public MoneyFixture {
protected:
    TransferTest() {
        useDollarsAndEuros();
        euros.setCurrencyCode(QStringLiteral("EUR"));
        dollars.setCurrencyCode(QStringLiteral("USD"));
    }

    Account euros = newAccount(QStringLiteral("Euro Savings"), QStringLiteral("savings"), "500");
    Account dollars = newAccount(QStringLiteral("Checking"), QStringLiteral("checking"), "0");
    CategoryVT transferCategory = newCategory(QStringLiteral("Transfer"));
};

TEST_F(TransferTest, ConvertsIntoTheDestinationCurrencyWithAutomaticTitles) {
    const auto [source, destination] =
        euros.transfer(amount("100"), dollars, transferCategory.object(), QString(), std::nullopt, clock);

    EXPECT_EQ(source.account(), euros.object());
    EXPECT_EQ(source.amount(), amount("-100"));
    EXPECT_EQ(source.title(), QStringLiteral("To Checking"));
    EXPECT_EQ(destination.account(), dollars.object());
    EXPECT_EQ(destination.amount(), amount("111.11"));
    EXPECT_EQ(destination.title(), QStringLiteral("From Euro Savings"));
    for (const Transaction& side : {source, destination}) {
        EXPECT_EQ(side.date(), today());
        EXPECT_EQ(side.category(), transferCategory.object());
        EXPECT_TRUE(side.isPending());
        EXPECT_TRUE(side.notes().isNull());
        EXPECT_FALSE(side.checkNumber());
    }
    EXPECT_TRUE(context.save().succeeded());
}

TEST_F(TransferTest, RemembersTheTransferAsTheLastSetting) {
    euros.transfer(amount("100"), dollars, transferCategory.object(), QString(), day(2024, 3, 1), clock);

    const auto setting = euros.settingForTransferTo(dollars);
    ASSERT_TRUE(setting);
    EXPECT_EQ(setting->account(), euros.object());
    EXPECT_EQ(setting->toAccount(), dollars.object());
    EXPECT_EQ(setting->amount(), amount("100"));
    EXPECT_TRUE(setting->title().isNull());
    EXPECT_EQ(setting->category(), transferCategory.object());
    EXPECT_EQ(euros.lastTransferSetting(), setting->object());
    EXPECT_FALSE(dollars.settingForTransferTo(euros));
}

TEST_F(TransferTest, AGivenTitleNamesBothSidesAndASecondTransferReusesTheSetting) {
    euros.transfer(amount("100"), dollars, transferCategory.object(), QString(), std::nullopt, clock);
    const ManagedObject* first = euros.lastTransferSetting();
    CategoryVT savingsCategory = newCategory(QStringLiteral("Savings"));

    const auto [source, destination] = euros.transfer(amount("9"), dollars, savingsCategory.object(),
                                                      QStringLiteral("Rent share"), day(2024, 2, 1), clock);
    EXPECT_EQ(source.title(), QStringLiteral("Rent share"));
    EXPECT_EQ(destination.title(), QStringLiteral("Rent share"));
    EXPECT_EQ(destination.amount(), amount("10"));
    EXPECT_EQ(source.date(), day(2024, 2, 1));
    EXPECT_EQ(destination.date(), day(2024, 2, 1));

    EXPECT_EQ(context.count(u"TransferSetting"), 1u);
    EXPECT_EQ(euros.lastTransferSetting(), first);
    const TransferSetting setting(euros.lastTransferSetting());
    EXPECT_EQ(setting.amount(), amount("9"));
    EXPECT_EQ(setting.title(), QStringLiteral("Rent share"));
    EXPECT_EQ(setting.category(), savingsCategory.object());
}

TEST_F(TransferTest, SameCurrencyIsNotConvertedAndCashIsNotPending) {
    Account wallet = newAccount(QStringLiteral("Wallet"), QStringLiteral("cash"));
    const auto [source, destination] =
        dollars.transfer(amount("12.34"), wallet, nullptr, QString(), std::nullopt, clock);
    EXPECT_EQ(destination.amount(), amount("12.34"));
    EXPECT_EQ(source.amount(), amount("-12.34"));
    EXPECT_TRUE(source.isPending());
    EXPECT_FALSE(destination.isPending());
    EXPECT_EQ(destination.category(), nullptr);
}

TEST_F(TransferTest, TheTwoSidesAreIndependentAfterwards) {
    auto [source, destination] =
        euros.transfer(amount("100"), dollars, transferCategory.object(), QString(), std::nullopt, clock);
    source.setAmount(amount("-50"));
    EXPECT_EQ(destination.amount(), amount("111.11"));
    context.deleteObject(source.object());
    EXPECT_FALSE(destination.isDeleted());
}

TEST_F(TransferTest, DuplicateSettingsAreLoggedAndReducedToOne) {
    for (int i = 0; i < 3; ++i) {
        TransferSetting setting = TransferSetting::insertInContext(context);
        setting.setAccount(euros.object());
        setting.setToAccount(dollars.object());
    }
    LogCapture log;
    const auto kept = euros.settingForTransferTo(dollars);
    ASSERT_TRUE(kept);
    EXPECT_EQ(log.lines(), QStringList{"detected duplicate transfer setting)"});
    EXPECT_EQ(context.count(u"TransferSetting"), 1u);
    EXPECT_FALSE(kept->isDeleted());
    EXPECT_EQ(TransferSetting::find(context, euros.object(), dollars.object()), kept);
}

TEST_F(TransferTest, CreatedEntriesCarryEveryGivenField) {
    Transaction entry =
        dollars.createTransactionWithDate(day(2024, 1, 5), QStringLiteral("Landlord"), amount("-800"),
                                          transferCategory.object(), QStringLiteral("January"), 301, clock);
    EXPECT_EQ(entry.account(), dollars.object());
    EXPECT_EQ(entry.date(), day(2024, 1, 5));
    EXPECT_EQ(entry.title(), QStringLiteral("Landlord"));
    EXPECT_EQ(entry.amount(), amount("-800"));
    EXPECT_EQ(entry.category(), transferCategory.object());
    EXPECT_EQ(entry.notes(), QStringLiteral("January"));
    EXPECT_EQ(entry.checkNumber(), 301);
    EXPECT_TRUE(entry.isPending());
    EXPECT_FALSE(entry.sortKey().isEmpty());
}

class DefaultTransferCategoryTest : public MoneyFixture {
protected:
    NotificationHub hub;
    int posts = 0;
    QObject receiver;
    NotificationHub::ObservationId observation =
        hub.observe(QString::fromLatin1(vantrel::platform::kCategoriesChanged), &receiver,
                    [this](const Notification&) { ++posts; });
};

TEST_F(DefaultTransferCategoryTest, FindsAnExistingCategoryIgnoringCaseAndDiacritics) {
    const CategoryVT existing = newCategory(QStringLiteral("trânsfer"));
    EXPECT_EQ(TransferSetting::defaultCategoryInContext(context, &hub), existing);
    EXPECT_EQ(posts, 0);
    EXPECT_EQ(context.count(u"Category"), 1u);
}

TEST_F(DefaultTransferCategoryTest, InsertsAMissingCategoryOnceAndTellsObservers) {
    newCategory(QStringLiteral("Transfers"));
    const CategoryVT made = TransferSetting::defaultCategoryInContext(context, &hub);
    EXPECT_EQ(made.name(), QStringLiteral("Transfer"));
    EXPECT_EQ(posts, 1);
    EXPECT_EQ(TransferSetting::defaultCategoryInContext(context, &hub), made);
    EXPECT_EQ(posts, 1);
    EXPECT_EQ(context.count(u"Category"), 2u);
}

TEST_F(DefaultTransferCategoryTest, WorksWithoutAHub) {
    const CategoryVT made = TransferSetting::defaultCategoryInContext(context);
    EXPECT_EQ(made.name(), QStringLiteral("Transfer"));
    EXPECT_TRUE(context.save().succeeded());
}

} // namespace
