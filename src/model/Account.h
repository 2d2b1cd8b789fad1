#pragma once

#include "model/CurrencyFormatter.h"
#include "model/EntityObject.h"
#include "model/IcuBridge.h"
#include "model/Transaction.h"
#include "model/TransferSetting.h"
#include "platform/objectstore/ValidationError.h"
#include "platform/objectstore/ValidationPhase.h"

#include <QStringList>

#include <vector>

namespace vantrel::platform {
class Clock;
}

namespace vantrel::model {

class Currency;

// A money account: checking, savings, credit card, cash or other.
class Account : public EntityObject {
public:
    static constexpr auto kEntity = "Account";

    explicit Account(objectstore::ManagedObject* object);

    // Placed after the last account in account order, with a fresh sort key, a start balance dated
    // yesterday and the home currency.
    static Account insertInContext(objectstore::Context& context, const platform::Clock& clock);
    static const QStringList& types();
    // "Checking", "Savings", "Credit Card", "Cash", "Other"; a null QString for any other value.
    static QString displayNameForType(const QString& type);

    // Account order: open before closed, then index, sort key, name (code-point order).
    static bool precedes(const Account& a, const Account& b);
    static std::vector<Account> allInAccountOrder(objectstore::Context& context);
    // The first account in account order; nothing without accounts.
    static std::optional<Account> first(objectstore::Context& context);
    // InternalError "Child not found. Requested child at index %d for Node <%@>, but there are only
    // %d children." outside 0..count-1.
    static Account accountAtIndex(objectstore::Context& context, std::int64_t index);
    static bool allHaveValidIndexInContext(objectstore::Context& context);
    // Position in account order.
    std::size_t realIndex() const;
    bool isLastNode() const;
    // Moves this account to position `index` (0..count; above count is InternalError "index too
    // big") and renumbers every account, active and inactive together, 0, 1, 2, ...
    void moveToIndex(std::int64_t index);

    // The currency whose code is currencyCode, or nothing.
    std::optional<Currency> currency() const;
    QString homeCurrencyCode() const;
    bool isForeign() const;
    bool hasDifferentCurrencyThanAccount(const Account& other) const;
    // The account's currency formatter; without cents no fraction digits are shown.
    CurrencyFormatter formatterWithCents(bool withCents,
                                         const QString& localeId = IcuBridge::systemLocaleId()) const;
    // "%@ (%@)": the name and the balance with cents.
    QString nameWithBalance(const QString& localeId = IcuBridge::systemLocaleId()) const;

    // Start balance plus every transaction of the account, whatever its date.
    Amount balance() const;
    // balance without the pending transactions (flagged, no bank amount): the cleared balance.
    Amount reconciledBalance() const;
    Amount balanceInHomeCurrency() const;
    Amount reconciledBalanceInHomeCurrency() const;
    QString balanceStringWithCents(bool withCents,
                                   const QString& localeId = IcuBridge::systemLocaleId()) const;
    QString reconciledBalanceStringWithCents(bool withCents,
                                             const QString& localeId = IcuBridge::systemLocaleId()) const;
    // Every account's start balance in the home currency.
    static Amount totalStartingBalanceInContext(objectstore::Context& context);
    // Home-currency total of every transaction dated on or before `day` (all with none) plus the
    // total starting balance.
    static Amount overallBalanceOnDate(objectstore::Context& context, const std::optional<Day>& day);
    static Amount overallBalanceInContext(objectstore::Context& context);
    static QString overallBalanceStringWithCents(objectstore::Context& context, bool withCents,
                                                 const QString& localeId = IcuBridge::systemLocaleId());

    // Period totals. With neither bound: everything; with only `to`: everything up to it; `from`
    // without `to` is an InternalError. Both ends included.
    Amount totalFromDate(const std::optional<Day>& from, const std::optional<Day>& to) const;
    // Over all accounts, in the home currency (each foreign account's total converted once).
    static Amount totalFromDate(objectstore::Context& context, const std::optional<Day>& from,
                                const std::optional<Day>& to);

    // Newest first: date descending, then sort key descending. Kept current by the context.
    const std::vector<objectstore::ManagedObject*>& orderedTransactions() const;
    std::vector<Transaction> pendingTransactions() const;
    std::size_t numberOfPendingTransactions() const;
    std::size_t numberOfNewTransactions() const;
    std::optional<Day> dateOfEarliestTransaction() const;
    std::optional<Day> dateOfLatestOFXTransaction() const;
    // The start balance date, or the day before the first transaction when that comes earlier.
    std::optional<Day> effectiveStartBalanceDate() const;
    bool hasScheduledItems() const;
    // One "  •  %@" line per scheduled item (with " (Transfer)" for transfers), then one per item
    // transferring into the account; empty without scheduled items.
    QString displayableScheduleList() const;
    // Deletes the account with its transactions and scheduled items.
    void destroy();

    // A pending transaction in this account (not pending in a cash account).
    Transaction createTransactionWithDate(const Day& date, const QString& title, const Amount& amount,
                                          objectstore::ManagedObject* category, const QString& notes,
                                          const std::optional<std::int64_t>& checkNumber,
                                          const platform::Clock& clock);
    // The remembered transfer to `to`; duplicates are logged ("detected duplicate transfer
    // setting)") and deleted, keeping one.
    std::optional<TransferSetting> settingForTransferTo(const Account& to);
    struct TransferResult {
        Transaction source;
        Transaction destination;
    };
    // −amount here and +amount (converted to the destination's currency) there, titled `title` or
    // "To %@" / "From %@"; remembers the settings of the transfer. `date` defaults to today.
    TransferResult transfer(const Amount& amount, const Account& to, objectstore::ManagedObject* category,
                            const QString& title, const std::optional<Day>& date,
                            const platform::Clock& clock);

    QString cloudID() const;
    QString name() const;
    void setName(const QString& name);
    QString type() const;
    void setType(const QString& type);
    std::optional<Amount> startBalance() const;
    void setStartBalance(const std::optional<Amount>& balance);
    std::optional<Day> startBalanceDate() const;
    void setStartBalanceDate(const std::optional<Day>& day);
    bool isClosed() const;
    void setClosed(bool closed);
    std::optional<std::int64_t> index() const;
    void setIndex(const std::optional<std::int64_t>& index);
    QString sortKey() const;
    void setSortKey(const QString& sortKey);
    QString currencyCode() const;
    void setCurrencyCode(const QString& code);
    QString plaidAccountID() const;
    void setPlaidAccountID(const QString& id);
    std::optional<std::int64_t> specialBank() const;
    void setSpecialBank(const std::optional<std::int64_t>& bank);
    QString qifDateOrder() const;
    void setQifDateOrder(const QString& order);
    // JSON text of the remembered CSV column mapping.
    QString csvImportSettings() const;
    void setCsvImportSettings(const QString& archive);

    const std::vector<objectstore::ManagedObject*>& transactions() const;
    const std::vector<objectstore::ManagedObject*>& scheduledItems() const;
    const std::vector<objectstore::ManagedObject*>& toScheduledItems() const;
    const std::vector<objectstore::ManagedObject*>& transferSettings() const;
    objectstore::ManagedObject* lastTransferSetting() const;
    void setLastTransferSetting(objectstore::ManagedObject* setting);

    static std::optional<objectstore::ValidationError> validate(objectstore::ManagedObject& object,
                                                                objectstore::ValidationPhase phase);
};

} // namespace vantrel::model
