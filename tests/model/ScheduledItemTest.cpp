#include "model/ScheduledItem.h"

#include "model/DataModel.h"
#include "platform/InternalError.h"
#include "platform/objectstore/Context.h"
#include "platform/objectstore/MemoryStore.h"
#include "support/ModelValues.h"

#include <QRegularExpression>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using vantrel::model::DataModel;
using vantrel::model::Day;
using vantrel::model::DIMonth;
using vantrel::model::DIWeek;
using vantrel::model::RepeatRule;
using vantrel::model::ScheduledItem;
using vantrel::objectstore::Context;
using vantrel::objectstore::MemoryStore;
using vantrel::objectstore::ValidationError;
using vantrel::objectstore::ValidationPhase;
using vantrel::platform::InternalError;
using vantrel::testsupport::amount;
using vantrel::testsupport::day;

namespace {

constexpr int kMonday = 2;
constexpr int kThursday = 5;

// 2026-12-06 is a Sunday; the week after runs Monday 7th ... Saturday 12th.
const Day kSunday = day(2026, 12, 6);
const Day kMondayDay = day(2026, 12, 7);
const Day kTuesdayDay = day(2026, 12, 8);
const Day kThursdayDay = day(2026, 12, 10);

const QString kWeek = QLatin1String(ScheduledItem::kWeekRepeat);
const QString kMonth = QLatin1String(ScheduledItem::kMonthRepeat);
const QString kDay = QLatin1String(ScheduledItem::kDayRepeat);

std::string describe(const ValidationError& error) {
    return QStringLiteral("%1 %2 %3").arg(error.domain).arg(error.code).arg(error.message).toStdString();
}

const std::string k103 = "VTVantrelErrorDomain 103 URL and instruction cannot both be set.";
const std::string k104 = "VTVantrelErrorDomain 104 hasReminded should be NO when reminder is not set.";
const std::string k106 = "VTVantrelErrorDomain 106 Next due date invalid.";
const std::string k107 = "VTVantrelErrorDomain 107 Transfer amount invalid";

std::string repeatSettingInvalid(const char* subCode) {
    return std::string("VTVantrelErrorDomain 105 Repeat setting is invalid. (") + subCode + ")";
}

class ScheduledItemTest : public ::testing::Test {
protected:
    // A valid one-time expense to start from.
    ScheduledItem newItem() {
        ScheduledItem item = ScheduledItem::insertInContext(context);
        item.setTitle(QStringLiteral("Rent"));
        item.setAmount(amount("-800"));
        item.setNextDueDate(kTuesdayDay);
        item.setAccount(account);
        return item;
    }

    ScheduledItem newRepeatingItem(const QString& repeatType, const Day& due,
                                   std::optional<std::vector<RepeatRule>> rules = std::nullopt) {
        ScheduledItem item = newItem();
        item.setRepeatType(repeatType);
        item.setRepeatInterval(1);
        item.setNextDueDate(due);
        item.setRepeatRules(rules);
        return item;
    }

    // The single errors of the item, in the order reported; empty when it is valid.
    static std::vector<std::string> failures(const ScheduledItem& item) {
        const auto error = ScheduledItem::validate(*item.object(), ValidationPhase::Insert);
        if (!error) {
            return {};
        }
        if (!error->isMultiple()) {
            return {describe(*error)};
        }
        std::vector<std::string> single;
        for (const auto& detail : error->detailedErrors) {
            single.push_back(describe(detail));
        }
        return single;
    }

    void storeRawRules(ScheduledItem& item, const QString& archive) {
        item.object()->setValue(u"repeatRules", archive);
    }

    std::shared_ptr<MemoryStore> store = std::make_shared<MemoryStore>(DataModel::description());
    Context context{store};
    vantrel::objectstore::ManagedObject* account = context.insert(u"Account");
};

TEST_F(ScheduledItemTest, ValidItemsOfEveryKindPass) {
    EXPECT_THAT(failures(newItem()), IsEmpty());
    EXPECT_THAT(failures(newRepeatingItem(kWeek, kTuesdayDay)), IsEmpty());
    EXPECT_THAT(failures(newRepeatingItem(kMonth, day(2026, 2, 28))), IsEmpty());
    EXPECT_THAT(failures(newRepeatingItem(kDay, kTuesdayDay)), IsEmpty());

    ScheduledItem reminded = newItem();
    reminded.setReminderDays(3);
    reminded.setHasReminded(true);
    reminded.setPaymentURL(QStringLiteral("example.com/pay"));
    EXPECT_THAT(failures(reminded), IsEmpty());

    EXPECT_FALSE(ScheduledItem::validate(*reminded.object(), ValidationPhase::Update));
}

TEST_F(ScheduledItemTest, PaymentURLAndInstructionsExcludeEachOther) {
    ScheduledItem item = newItem();
    item.setPaymentURL(QStringLiteral("https://bank.example"));
    item.setPaymentInstructions(QStringLiteral("Pay at the counter"));
    EXPECT_THAT(failures(item), ElementsAre(k103));

    item.setPaymentURL(QString());
    EXPECT_THAT(failures(item), IsEmpty());
}

TEST_F(ScheduledItemTest, HasRemindedNeedsAReminder) {
    ScheduledItem item = newItem();
    item.setHasReminded(true);
    EXPECT_THAT(failures(item), ElementsAre(k104));

    item.setReminderDays(0);
    EXPECT_THAT(failures(item), IsEmpty());

    item.setReminderDays(std::nullopt);
    item.setHasReminded(false);
    EXPECT_THAT(failures(item), IsEmpty());
}

TEST_F(ScheduledItemTest, OneTimeItemWithAnyRepeatSettingIs12FB1) {
    ScheduledItem withRules = newItem();
    withRules.setRepeatRules(std::vector<RepeatRule>{DIWeek(kMonday)});
    EXPECT_THAT(failures(withRules), ElementsAre(repeatSettingInvalid("12FB1")));

    ScheduledItem withEnd = newItem();
    withEnd.setEndsAfter(3);
    EXPECT_THAT(failures(withEnd), ElementsAre(repeatSettingInvalid("12FB1")));

    ScheduledItem withInterval = newItem();
    withInterval.setRepeatInterval(1);
    EXPECT_THAT(failures(withInterval), ElementsAre(repeatSettingInvalid("12FB1")));

    // Even rules that cannot be read are a repeat setting the item should not have.
    ScheduledItem withUnreadableRules = newItem();
    storeRawRules(withUnreadableRules, QStringLiteral("garbage"));
    EXPECT_THAT(failures(withUnreadableRules), ElementsAre(repeatSettingInvalid("12FB1")));
}

TEST_F(ScheduledItemTest, RepeatingItemWithoutIntervalIs12FB2) {
    ScheduledItem item = newRepeatingItem(kMonth, kTuesdayDay);
    item.setRepeatInterval(std::nullopt);
    EXPECT_THAT(failures(item), ElementsAre(repeatSettingInvalid("12FB2")));

    ScheduledItem daily = newRepeatingItem(kDay, kTuesdayDay);
    daily.setRepeatInterval(std::nullopt);
    EXPECT_THAT(failures(daily), ElementsAre(repeatSettingInvalid("12FB2")));
}

TEST_F(ScheduledItemTest, RulesOfTheWrongKindAre12FB3Or12FB4AndOutweigh12FB2) {
    ScheduledItem weekly =
        newRepeatingItem(kWeek, kTuesdayDay, std::vector<RepeatRule>{DIWeek(3), DIMonth(8)});
    EXPECT_THAT(failures(weekly), ElementsAre(repeatSettingInvalid("12FB3")));
    weekly.setRepeatInterval(std::nullopt);
    EXPECT_THAT(failures(weekly), ElementsAre(repeatSettingInvalid("12FB3")));

    ScheduledItem monthly = newRepeatingItem(kMonth, kTuesdayDay, std::vector<RepeatRule>{DIWeek(3)});
    monthly.setRepeatInterval(std::nullopt);
    EXPECT_THAT(failures(monthly), ElementsAre(repeatSettingInvalid("12FB4")));
}

TEST_F(ScheduledItemTest, UnreadableRulesCountAsTheWrongKind) {
    ScheduledItem weekly = newRepeatingItem(kWeek, kTuesdayDay);
    storeRawRules(weekly, QStringLiteral("[{\"DIWeekWeekday\": 9}]"));
    EXPECT_TRUE(weekly.hasRepeatRules());
    EXPECT_FALSE(weekly.repeatRules());
    EXPECT_THAT(failures(weekly), ElementsAre(repeatSettingInvalid("12FB3")));

    ScheduledItem monthly = newRepeatingItem(kMonth, kTuesdayDay);
    storeRawRules(monthly, QStringLiteral("not an archive"));
    monthly.setRepeatInterval(std::nullopt);
    EXPECT_THAT(failures(monthly), ElementsAre(repeatSettingInvalid("12FB4")));
}

TEST_F(ScheduledItemTest, DueDateMustFallOnTheWeeklyRules) {
    const std::vector<RepeatRule> mondayAndThursday{DIWeek(kMonday), DIWeek(kThursday)};
    EXPECT_THAT(failures(newRepeatingItem(kWeek, kTuesdayDay, mondayAndThursday)), ElementsAre(k106));
    EXPECT_THAT(failures(newRepeatingItem(kWeek, kThursdayDay, mondayAndThursday)), IsEmpty());
    EXPECT_THAT(failures(newRepeatingItem(kWeek, kMondayDay, mondayAndThursday)), IsEmpty());
}

TEST_F(ScheduledItemTest, DueDateMustFallOnTheMonthlyRules) {
    const std::vector<RepeatRule> thirtyFirst{DIMonth(31)};
    EXPECT_THAT(failures(newRepeatingItem(kMonth, day(2026, 4, 30), thirtyFirst)), IsEmpty());
    EXPECT_THAT(failures(newRepeatingItem(kMonth, day(2026, 4, 29), thirtyFirst)), ElementsAre(k106));
    EXPECT_THAT(failures(newRepeatingItem(kMonth, day(2026, 5, 30), thirtyFirst)), ElementsAre(k106));

    const std::vector<RepeatRule> lastDay{DIMonth(DIMonth::kLastDay)};
    EXPECT_THAT(failures(newRepeatingItem(kMonth, day(2024, 2, 29), lastDay)), IsEmpty());
    EXPECT_THAT(failures(newRepeatingItem(kMonth, day(2024, 2, 28), lastDay)), ElementsAre(k106));
}

TEST_F(ScheduledItemTest, DerivedRulesAndDailyItemsAlwaysIncludeTheDueDate) {
    for (int offset = 0; offset < 40; ++offset) {
        const Day due = kSunday.advanceDays_VT(offset);
        EXPECT_THAT(failures(newRepeatingItem(kWeek, due)), IsEmpty()) << due.toIsoString().toStdString();
        EXPECT_THAT(failures(newRepeatingItem(kMonth, due)), IsEmpty()) << due.toIsoString().toStdString();
        EXPECT_THAT(failures(newRepeatingItem(kDay, due, std::vector<RepeatRule>{DIWeek(kMonday)})),
                    IsEmpty())
            << due.toIsoString().toStdString();
    }
}

TEST_F(ScheduledItemTest, OneTimeItemsAreNotCheckedAgainstRules) {
    // The stray rules are 12FB1; the date is not judged by them.
    ScheduledItem item = newItem();
    item.setRepeatRules(std::vector<RepeatRule>{DIWeek(kMonday)});
    EXPECT_THAT(failures(item), ElementsAre(repeatSettingInvalid("12FB1")));
}

TEST_F(ScheduledItemTest, TransferAmountMustBeAnExpense) {
    ScheduledItem item = newItem();
    item.setToAccount(context.insert(u"Account"));
    item.setAmount(amount("0.01"));
    EXPECT_THAT(failures(item), ElementsAre(k107));

    item.setAmount(amount("0"));
    EXPECT_THAT(failures(item), IsEmpty());
    item.setAmount(amount("-25"));
    EXPECT_THAT(failures(item), IsEmpty());

    // A deposit is fine as long as it is not a transfer.
    item.setToAccount(nullptr);
    item.setAmount(amount("25"));
    EXPECT_THAT(failures(item), IsEmpty());
}

TEST_F(ScheduledItemTest, SeveralErrorsAreCombinedInTheOrderFound) {
    ScheduledItem item = newRepeatingItem(kWeek, kTuesdayDay, std::vector<RepeatRule>{DIWeek(kMonday)});
    item.setPaymentURL(QStringLiteral("https://bank.example"));
    item.setPaymentInstructions(QStringLiteral("Call first"));
    item.setHasReminded(true);
    item.setRepeatInterval(std::nullopt);
    item.setToAccount(context.insert(u"Account"));
    item.setAmount(amount("5"));

    const auto error = ScheduledItem::validate(*item.object(), ValidationPhase::Insert);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->domain, QLatin1String(ValidationError::kPlatformDomain));
    EXPECT_EQ(error->code, ValidationError::kMultipleErrorsCode);
    EXPECT_THAT(failures(item), ElementsAre(k103, k104, repeatSettingInvalid("12FB2"), k106, k107));
}

TEST_F(ScheduledItemTest, FixRepeatSettingsClearsWhatAOneTimeItemCannotHave) {
    ScheduledItem item = newItem();
    item.setRepeatRules(std::vector<RepeatRule>{DIMonth(3)});
    item.setEndsAfter(4);
    item.setRepeatInterval(2);
    item.fixRepeatSettings();
    EXPECT_FALSE(item.hasRepeatRules());
    EXPECT_FALSE(item.endsAfter());
    EXPECT_FALSE(item.repeatInterval());
    EXPECT_THAT(failures(item), IsEmpty());
}

TEST_F(ScheduledItemTest, FixRepeatSettingsSetsIntervalAndDropsWrongRules) {
    ScheduledItem wrongKind = newRepeatingItem(kWeek, kTuesdayDay, std::vector<RepeatRule>{DIMonth(8)});
    wrongKind.setRepeatInterval(std::nullopt);
    wrongKind.setEndsAfter(5);
    wrongKind.fixRepeatSettings();
    EXPECT_EQ(wrongKind.repeatInterval(), 1);
    EXPECT_FALSE(wrongKind.hasRepeatRules());
    EXPECT_EQ(wrongKind.endsAfter(), 5);
    EXPECT_THAT(failures(wrongKind), IsEmpty());

    ScheduledItem unreadable = newRepeatingItem(kMonth, kTuesdayDay);
    storeRawRules(unreadable, QStringLiteral("[1, 2]"));
    unreadable.fixRepeatSettings();
    EXPECT_FALSE(unreadable.hasRepeatRules());
    EXPECT_THAT(failures(unreadable), IsEmpty());

    // Good rules and a present interval are kept.
    const std::vector<RepeatRule> rules{DIMonth(8), DIMonth(DIMonth::kLastDay)};
    ScheduledItem good = newRepeatingItem(kMonth, day(2026, 3, 8), rules);
    good.setRepeatInterval(3);
    good.fixRepeatSettings();
    EXPECT_EQ(good.repeatInterval(), 3);
    EXPECT_EQ(good.repeatRules(), rules);
    EXPECT_THAT(failures(good), IsEmpty());
}

TEST_F(ScheduledItemTest, FixTransferAmountNegatesOnlyPositiveTransfers) {
    ScheduledItem transfer = newItem();
    transfer.setToAccount(context.insert(u"Account"));
    transfer.setAmount(amount("120.50"));
    transfer.fixTransferAmount();
    EXPECT_EQ(transfer.amount(), amount("-120.50"));
    EXPECT_THAT(failures(transfer), IsEmpty());

    transfer.setAmount(amount("-7"));
    transfer.fixTransferAmount();
    EXPECT_EQ(transfer.amount(), amount("-7"));

    ScheduledItem deposit = newItem();
    deposit.setAmount(amount("30"));
    deposit.fixTransferAmount();
    EXPECT_EQ(deposit.amount(), amount("30"));
}

TEST_F(ScheduledItemTest, AdjustNextDueDateMovesToTheNextMatchingDay) {
    ScheduledItem weekly =
        newRepeatingItem(kWeek, kTuesdayDay, std::vector<RepeatRule>{DIWeek(kMonday), DIWeek(kThursday)});
    weekly.adjustNextDueDate();
    EXPECT_EQ(weekly.nextDueDate(), kThursdayDay);
    EXPECT_THAT(failures(weekly), IsEmpty());

    // Only Monday left: the search crosses into the next week.
    ScheduledItem nextWeek = newRepeatingItem(kWeek, kTuesdayDay, std::vector<RepeatRule>{DIWeek(kMonday)});
    nextWeek.adjustNextDueDate();
    EXPECT_EQ(nextWeek.nextDueDate(), day(2026, 12, 14));

    ScheduledItem monthly = newRepeatingItem(kMonth, day(2026, 4, 29), std::vector<RepeatRule>{DIMonth(31)});
    monthly.adjustNextDueDate();
    EXPECT_EQ(monthly.nextDueDate(), day(2026, 4, 30));
    EXPECT_THAT(failures(monthly), IsEmpty());

    // An already matching date stays.
    ScheduledItem matching =
        newRepeatingItem(kWeek, kThursdayDay, std::vector<RepeatRule>{DIWeek(kThursday)});
    matching.adjustNextDueDate();
    EXPECT_EQ(matching.nextDueDate(), kThursdayDay);
}

TEST_F(ScheduledItemTest, AdjustNextDueDateSkipsInactivePeriods) {
    // Every 2 weeks, weeks running Sunday to Saturday: the week of Sunday 13th is skipped.
    ScheduledItem weekly = newRepeatingItem(kWeek, kTuesdayDay, std::vector<RepeatRule>{DIWeek(kMonday)});
    weekly.setRepeatInterval(2);
    weekly.adjustNextDueDate();
    EXPECT_EQ(weekly.nextDueDate(), day(2026, 12, 21));

    // Every 3 months from January: February and March are skipped.
    ScheduledItem monthly = newRepeatingItem(kMonth, day(2026, 1, 20), std::vector<RepeatRule>{DIMonth(15)});
    monthly.setRepeatInterval(3);
    monthly.adjustNextDueDate();
    EXPECT_EQ(monthly.nextDueDate(), day(2026, 4, 15));
    EXPECT_THAT(failures(monthly), IsEmpty());

    // A match later in the due date's own period needs no skip.
    ScheduledItem sameMonth =
        newRepeatingItem(kMonth, day(2026, 1, 20), std::vector<RepeatRule>{DIMonth(25)});
    sameMonth.setRepeatInterval(3);
    sameMonth.adjustNextDueDate();
    EXPECT_EQ(sameMonth.nextDueDate(), day(2026, 1, 25));
}

TEST_F(ScheduledItemTest, AdjustNextDueDateLeavesItemsWithoutExplicitRules) {
    ScheduledItem derived = newRepeatingItem(kMonth, day(2026, 1, 30));
    derived.adjustNextDueDate();
    EXPECT_EQ(derived.nextDueDate(), day(2026, 1, 30));

    ScheduledItem oneTime = newItem();
    oneTime.adjustNextDueDate();
    EXPECT_EQ(oneTime.nextDueDate(), kTuesdayDay);

    ScheduledItem ended = newRepeatingItem(kWeek, kTuesdayDay);
    ended.setEndsAfter(0);
    EXPECT_THROW(ended.adjustNextDueDate(), InternalError);
}

TEST_F(ScheduledItemTest, ComponentForDateIsTheRuleTheDateSatisfies) {
    EXPECT_EQ(ScheduledItem::componentForDate(kThursdayDay, kWeek), RepeatRule(DIWeek(kThursday)));
    EXPECT_EQ(ScheduledItem::componentForDate(day(2026, 4, 29), kMonth), RepeatRule(DIMonth(29)));
    EXPECT_EQ(ScheduledItem::componentForDate(day(2026, 4, 30), kMonth),
              RepeatRule(DIMonth(DIMonth::kLastDay)));
    EXPECT_EQ(ScheduledItem::componentForDate(day(2024, 2, 29), kMonth),
              RepeatRule(DIMonth(DIMonth::kLastDay)));
    EXPECT_EQ(ScheduledItem::componentForDate(day(2024, 2, 28), kMonth), RepeatRule(DIMonth(28)));
    EXPECT_THROW(ScheduledItem::componentForDate(kThursdayDay, kDay), InternalError);
}

TEST_F(ScheduledItemTest, IncludesFollowsTheEffectiveRules) {
    // Due on a month's last day without rules: every month's last day.
    ScheduledItem lastDay = newRepeatingItem(kMonth, day(2026, 1, 31));
    EXPECT_THAT(lastDay.effectiveRules(), ElementsAre(RepeatRule(DIMonth(DIMonth::kLastDay))));
    EXPECT_TRUE(lastDay.includes(day(2026, 2, 28)));
    EXPECT_TRUE(lastDay.includes(day(2026, 4, 30)));
    EXPECT_FALSE(lastDay.includes(day(2026, 3, 30)));

    ScheduledItem thirtieth = newRepeatingItem(kMonth, day(2026, 1, 30));
    EXPECT_TRUE(thirtieth.includes(day(2026, 2, 28)));
    EXPECT_TRUE(thirtieth.includes(day(2026, 3, 30)));
    EXPECT_FALSE(thirtieth.includes(day(2026, 3, 31)));

    const std::vector<RepeatRule> rules{DIWeek(kMonday), DIWeek(kThursday)};
    ScheduledItem weekly = newRepeatingItem(kWeek, kMondayDay, rules);
    EXPECT_EQ(weekly.effectiveRules(), rules);
    EXPECT_TRUE(weekly.includes(kThursdayDay.advanceWeeks_vt(5)));
    EXPECT_FALSE(weekly.includes(kTuesdayDay));

    ScheduledItem oneTime = newItem();
    EXPECT_THAT(oneTime.effectiveRules(), IsEmpty());
    EXPECT_TRUE(oneTime.includes(kTuesdayDay));
    EXPECT_FALSE(oneTime.includes(kTuesdayDay.advanceWeeks_vt(1)));

    EXPECT_TRUE(newRepeatingItem(kDay, kTuesdayDay).includes(day(2030, 7, 19)));
}

TEST_F(ScheduledItemTest, RepeatRulesRoundTripAndAnEmptyListIsAbsent) {
    ScheduledItem item = newRepeatingItem(kMonth, kTuesdayDay);
    const std::vector<RepeatRule> rules{DIMonth(DIMonth::kLastDay), DIMonth(1)};
    item.setRepeatRules(rules);
    EXPECT_EQ(item.repeatRules(), rules);

    item.setRepeatRules(std::vector<RepeatRule>{});
    EXPECT_FALSE(item.hasRepeatRules());
    EXPECT_FALSE(item.repeatRules());
}

TEST_F(ScheduledItemTest, DerivedPropertiesFollowAmountToAccountAndReminder) {
    ScheduledItem item = newItem();
    item.setAmount(amount("0"));
    EXPECT_TRUE(item.isExpense());
    EXPECT_FALSE(item.isDeposit());
    item.setAmount(std::nullopt);
    EXPECT_TRUE(item.isExpense());
    item.setAmount(amount("0.01"));
    EXPECT_TRUE(item.isDeposit());
    EXPECT_FALSE(item.isExpense());

    EXPECT_FALSE(item.isTransfer());
    item.setToAccount(context.insert(u"Account"));
    EXPECT_TRUE(item.isTransfer());

    EXPECT_FALSE(item.repeats());
    item.setRepeatType(kDay);
    EXPECT_TRUE(item.repeats());

    EXPECT_FALSE(item.hasReminder());
    item.setReminderDays(0);
    EXPECT_TRUE(item.hasReminder());
}

TEST_F(ScheduledItemTest, InsertGivesAFreshCloudID) {
    const ScheduledItem first = ScheduledItem::insertInContext(context);
    const ScheduledItem second = ScheduledItem::insertInContext(context);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}$"))
                    .match(first.cloudID())
                    .hasMatch())
        << first.cloudID().toStdString();
    EXPECT_NE(first.cloudID(), second.cloudID());
}

} // namespace
