#pragma once

#include "model/EntityObject.h"
#include "platform/objectstore/SortDescriptor.h"
#include "platform/objectstore/ValidationError.h"
#include "platform/objectstore/ValidationPhase.h"

#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

namespace vantrel::platform {
class Clock;
}

namespace vantrel::model {

class Account;

// One category line of a transaction, read the same way whether the transaction has one category
// or a split set: a category (nullptr for uncategorised) and an amount.
struct PlainSplit {
    objectstore::ManagedObject* category = nullptr;
    Amount amount;

    friend bool operator==(const PlainSplit&, const PlainSplit&) = default;
};

// One dated movement of money in one account: the typed face of a "Transaction" object.
class Transaction : public EntityObject {
public:
    static constexpr auto kEntity = "Transaction";

    explicit Transaction(objectstore::ManagedObject* object);

    // Dated today, uncategorised, pending (flagged), with a fresh sort key.
    static Transaction insertInContext(objectstore::Context& context, const platform::Clock& clock);
    // "HH:mm:ss.SSS" of the local time now, a space, 8 random characters: orders one day's entries
    // by creation.
    static QString newSortKey(const platform::Clock& clock);

    // The default transaction order: date descending, then sort key descending (newest first).
    static std::vector<objectstore::SortDescriptor> defaultSortDescriptors();
    static bool precedes(const Transaction& a, const Transaction& b);
    static bool precedes(const objectstore::ManagedObject& a, const objectstore::ManagedObject& b);
    static std::vector<Transaction> allInContext(objectstore::Context& context);
    // Nothing without transactions.
    static std::optional<Day> dateOfEarliestTransactionInContext(objectstore::Context& context);
    static std::optional<Day> dateOfLatestTransactionInContext(objectstore::Context& context);
    // [min(today, earliest), max(today, latest)]; [today, today] without transactions.
    static std::pair<Day, Day> reportDateRange(objectstore::Context& context, const platform::Clock& clock);
    static std::vector<Transaction> allWithDateRange(objectstore::Context& context, const Day& from,
                                                     const Day& to);
    // With a category: those having it directly or in a split line. With nullptr: the transactions of
    // uncategorised split lines plus the unsplit transactions without category.
    static std::vector<Transaction> allWithDateRange(objectstore::Context& context, const Day& from,
                                                     const Day& to, objectstore::ManagedObject* category);

    // Payee completion: distinct titles beginning with `typed` (ignoring case), shortest first.
    static QStringList payeesMatching(objectstore::Context& context, const QString& typed);
    // Among transactions titled `name` (ignoring case, trailing white space allowed): the category
    // with the most split lines, the account with the most transactions. nullptr when none.
    static objectstore::ManagedObject* mostUsedCategoryForName(objectstore::Context& context,
                                                               const QString& name);
    static objectstore::ManagedObject* mostUsedAccountForName(objectstore::Context& context,
                                                              const QString& name);

    QString cloudID() const;
    std::optional<Day> date() const;
    // Any instant becomes the UTC day it falls on.
    void setDate(const Day& day);
    void setDate(const QDateTime& instant);
    QString title() const;
    void setTitle(const QString& title);
    QString notes() const;
    void setNotes(const QString& notes);
    std::optional<Amount> amount() const;
    void setAmount(const std::optional<Amount>& amount);
    std::optional<std::int64_t> checkNumber() const;
    void setCheckNumber(const std::optional<std::int64_t>& number);
    QString sortKey() const;
    void setSortKey(const QString& sortKey);
    bool isFlagged() const;
    void setFlagged(bool flagged);
    bool isImported() const;
    void setImported(bool imported);

    // The bank's view of the transaction.
    QString ofxTitle() const;
    void setOfxTitle(const QString& title);
    std::optional<Amount> ofxAmount() const;
    void setOfxAmount(const std::optional<Amount>& amount);
    std::optional<Day> ofxDate() const;
    void setOfxDate(const std::optional<Day>& day);
    std::optional<std::int64_t> ofxCheckNumber() const;
    void setOfxCheckNumber(const std::optional<std::int64_t>& number);
    QString ofxFitID() const;
    void setOfxFitID(const QString& fitID);
    void clearBankFields();

    objectstore::ManagedObject* account() const;
    void setAccount(objectstore::ManagedObject* account);
    objectstore::ManagedObject* category() const;
    void setCategory(objectstore::ManagedObject* category);
    objectstore::ManagedObject* splitSet() const;
    // Replaces the split set as a whole; the old one (and its splits) is deleted.
    void replaceSplitSet(objectstore::ManagedObject* splitSet);

    // The account's start balance plus every transaction of the account up to and including this one
    // in ascending order, by a sum in the store.
    Amount runningBalance() const;
    Amount amountInHomeCurrency() const;
    QString homeCurrencyCode() const;
    // Moves to another account; amounts and dates stay as they are.
    void moveTo(const Account& account);

    // Category lines.
    std::vector<PlainSplit> splits() const;
    // Categorised lines by amount ascending (ties by category name), then uncategorised lines by
    // amount descending.
    std::vector<PlainSplit> sortedSplits() const;
    bool hasSingleCategory() const;
    bool hasMultipleCategories() const { return !hasSingleCategory(); }
    // The category of the one line; InternalError "should not call category with more than one
    // splits" otherwise.
    objectstore::ManagedObject* theCategory() const;
    void setSingleCategory(objectstore::ManagedObject* category);
    // One pair: a plain category and amount. Several: a new split set (the amount is left alone;
    // the caller's pairs sum to it). An empty list is an InternalError.
    void setMultipleCategoriesAndAmounts(const std::vector<PlainSplit>& pairs);
    std::vector<PlainSplit> categoriesAndAmountsCompatible() const { return splits(); }
    // The category kept when collapsing to one: the single one, else that of the largest absolute
    // amount (the first met wins a tie).
    objectstore::ManagedObject* splitToSingle() const;
    // Adds an uncategorised line for any difference between the amount and the lines.
    void fixSplitsIfNecessary();
    void safelyChangeAmountTo(const Amount& amount);
    void fixSplitSetAndCategoryBothSetError();

    // Clearing states.
    enum class Kind { User, Bank, Matched };
    Kind deducedType() const;
    bool isUser() const { return deducedType() == Kind::User; }
    bool isBank() const { return deducedType() == Kind::Bank; }
    bool isMatched() const { return deducedType() == Kind::Matched; }
    bool isPending() const;
    bool isNew() const;
    // "pending", "new" or a null QString.
    QString flag() const;
    bool allBankFieldsAreNil() const;
    // Takes the bank transaction's data (same account, equal amounts, this one pending; else
    // InternalError) and deletes it.
    void matchWith(Transaction& bank);
    // Splits the bank data off again into a new bank transaction, which it returns; this one is
    // pending again.
    Transaction undoMatch(const platform::Clock& clock);

    // Derived texts.
    QString categoryBasedTitle() const;
    // What a register search matches: title, category names, notes and the absolute amount with two
    // decimals, each followed by a space but the last.
    QString keywords() const;
    // "yyyy-MM-dd 00:00:00 +0000".
    QString utcDateString() const;
    bool hasTitle() const;
    bool hasNote() const;

    static std::optional<objectstore::ValidationError> validate(objectstore::ManagedObject& object,
                                                                objectstore::ValidationPhase phase);
};

} // namespace vantrel::model
