#include "model/Account.h"

#include "model/Currency.h"
#include "model/General.h"
#include "model/Global.h"
#include "model/ModelErrors.h"
#include "model/ScheduledItem.h"
#include "model/TextHelper.h"
#include "platform/Clock.h"
#include "platform/InternalError.h"
#include "platform/Log.h"
#include "platform/objectstore/Context.h"
#include "platform/objectstore/ObjectValidator.h"

#include <algorithm>

namespace vantrel::model {

namespace {

struct Indexes {
    static int a(const char16_t* name) { return EntityObject::attributeIndex(u"Account", name); }
    static int r(const char16_t* name) { return EntityObject::relationshipIndex(u"Account", name); }

    int cloudID = a(u"cloudID");
    int name = a(u"name");
    int type = a(u"type");
    int startBalance = a(u"startBalance");
    int startBalanceDate = a(u"startBalanceDate");
    int isClosed = a(u"isClosed");
    int index = a(u"index");
    int sortKey = a(u"sortKey");
    int currencyCode = a(u"currencyCode");
    int plaidAccountID = a(u"plaidAccountID");
    int specialBank = a(u"specialBank");
    int qifDateOrder = a(u"qifDateOrder");
    int csvImportSettings = a(u"csvImportSettings");
    int transactions = r(u"transactions");
    int scheduledItems = r(u"scheduledItems");
    int toScheduledItems = r(u"toScheduledItems");
    int transferSettings = r(u"transferSettings");
    int lastTransferSetting = r(u"lastTransferSetting");
};

const Indexes& ix() {
    static const Indexes indexes;
    return indexes;
}

} // namespace

Account::Account(objectstore::ManagedObject* object)
    : EntityObject(object) {}

const QStringList& Account::types() {
    static const QStringList names{QStringLiteral("checking"), QStringLiteral("savings"),
                                   QStringLiteral("credit_card"), QStringLiteral("cash"),
                                   QStringLiteral("other")};
    return names;
}

bool Account::precedes(const Account& a, const Account& b) {
    if (a.isClosed() != b.isClosed()) {
        return !a.isClosed();
    }
    const auto indexA = a.index().value_or(0);
    const auto indexB = b.index().value_or(0);
    if (indexA != indexB) {
        return indexA < indexB;
    }
    if (a.sortKey() != b.sortKey()) {
        return a.sortKey() < b.sortKey();
    }
    return a.name() < b.name();
}

std::vector<Account> Account::allInAccountOrder(objectstore::Context& context) {
    std::vector<Account> accounts;
    for (objectstore::ManagedObject* object : context.all(u"Account")) {
        accounts.emplace_back(object);
    }
    std::sort(accounts.begin(), accounts.end(), &Account::precedes);
    return accounts;
}

Account Account::insertInContext(objectstore::Context& context, const platform::Clock& clock) {
    const auto existing = allInAccountOrder(context);
    const std::int64_t index = existing.empty() ? 0 : existing.back().index().value_or(0) + 1;
    Account account(insertWithCloudID(context, u"Account"));
    account.setIndex(index);
    account.setSortKey(TextHelper::hashWithLength(8));
    account.setStartBalanceDate(Day::today_VT(clock).daysAgo_VT(1));
    account.setCurrencyCode(Global::sharedInstanceInContext(context).homeCurrencyCode());
    return account;
}

QString Account::cloudID() const {
    return string(ix().cloudID);
}

QString Account::name() const {
    return string(ix().name);
}

void Account::setName(const QString& name) {
    setString(ix().name, name);
}

QString Account::type() const {
    return string(ix().type);
}

void Account::setType(const QString& type) {
    setString(ix().type, type);
}

std::optional<Amount> Account::startBalance() const {
    return decimal(ix().startBalance);
}

void Account::setStartBalance(const std::optional<Amount>& balance) {
    setDecimal(ix().startBalance, balance);
}

std::optional<Day> Account::startBalanceDate() const {
    return day(ix().startBalanceDate);
}

void Account::setStartBalanceDate(const std::optional<Day>& value) {
    setDay(ix().startBalanceDate, value);
}

bool Account::isClosed() const {
    return boolean(ix().isClosed).value_or(false);
}

void Account::setClosed(bool closed) {
    setBoolean(ix().isClosed, closed);
}

std::optional<std::int64_t> Account::index() const {
    return integer(ix().index);
}

void Account::setIndex(const std::optional<std::int64_t>& index) {
    setInteger(ix().index, index);
}

QString Account::sortKey() const {
    return string(ix().sortKey);
}

void Account::setSortKey(const QString& sortKey) {
    setString(ix().sortKey, sortKey);
}

QString Account::currencyCode() const {
    return string(ix().currencyCode);
}

void Account::setCurrencyCode(const QString& code) {
    setString(ix().currencyCode, code);
}

QString Account::plaidAccountID() const {
    return string(ix().plaidAccountID);
}

void Account::setPlaidAccountID(const QString& id) {
    setString(ix().plaidAccountID, id);
}

std::optional<std::int64_t> Account::specialBank() const {
    return integer(ix().specialBank);
}

void Account::setSpecialBank(const std::optional<std::int64_t>& bank) {
    setInteger(ix().specialBank, bank);
}

QString Account::qifDateOrder() const {
    return string(ix().qifDateOrder);
}

void Account::setQifDateOrder(const QString& order) {
    setString(ix().qifDateOrder, order);
}

QString Account::csvImportSettings() const {
    return string(ix().csvImportSettings);
}

void Account::setCsvImportSettings(const QString& archive) {
    setString(ix().csvImportSettings, archive);
}

const std::vector<objectstore::ManagedObject*>& Account::transactions() const {
    return toMany(ix().transactions);
}

const std::vector<objectstore::ManagedObject*>& Account::scheduledItems() const {
    return toMany(ix().scheduledItems);
}

const std::vector<objectstore::ManagedObject*>& Account::toScheduledItems() const {
    return toMany(ix().toScheduledItems);
}

const std::vector<objectstore::ManagedObject*>& Account::transferSettings() const {
    return toMany(ix().transferSettings);
}

objectstore::ManagedObject* Account::lastTransferSetting() const {
    return toOne(ix().lastTransferSetting);
}

void Account::setLastTransferSetting(objectstore::ManagedObject* setting) {
    setToOne(ix().lastTransferSetting, setting);
}

std::optional<objectstore::ValidationError> Account::validate(objectstore::ManagedObject& object,
                                                              objectstore::ValidationPhase phase) {
    if (phase == objectstore::ValidationPhase::Delete) {
        return std::nullopt;
    }
    const Account account(&object);
    std::optional<objectstore::ValidationError> errors;
    if (!types().contains(account.type())) {
        errors = ModelErrors::generalError(QStringLiteral("Type is invalid"));
    }
    if (!account.index() || account.sortKey().isNull()) {
        errors = objectstore::ObjectValidator::appendInOrder(
            errors, ModelErrors::generalError(QStringLiteral("Node Error: Index is Invalid")));
    }
    return errors;
}

// ---- Order ---------------------------------------------------------------------------------

namespace {

constexpr auto kRegisterOrdering = u"register";
// The cached sums of Transaction.amount over Account.transactions.
constexpr auto kAllSum = u"all";
constexpr auto kPendingSum = u"pending";

// The transaction properties the sums read, resolved once.
struct TransactionFields {
    int amount = EntityObject::attributeIndex(u"Transaction", u"amount");
    int isFlagged = EntityObject::attributeIndex(u"Transaction", u"isFlagged");
    int ofxAmount = EntityObject::attributeIndex(u"Transaction", u"ofxAmount");
    int date = EntityObject::attributeIndex(u"Transaction", u"date");
};

const TransactionFields& fields() {
    static const TransactionFields indexes;
    return indexes;
}

Amount amountOf(const objectstore::ManagedObject& transaction) {
    const objectstore::Value value = transaction.value(fields().amount);
    const auto* amount = std::get_if<Amount>(&value);
    return amount != nullptr ? *amount : Amount();
}

// Flagged without a bank amount.
bool isPending(const objectstore::ManagedObject& transaction) {
    const objectstore::Value flagged = transaction.value(fields().isFlagged);
    const auto* value = std::get_if<bool>(&flagged);
    return value != nullptr && *value && !transaction.hasValue(fields().ofxAmount);
}

template <typename Include>
Amount sumOfAmounts(const std::vector<objectstore::ManagedObject*>& transactions, Include&& include) {
    Amount total;
    for (const objectstore::ManagedObject* transaction : transactions) {
        if (include(*transaction)) {
            total += amountOf(*transaction);
        }
    }
    return total;
}

// The context keeps these sums current through every edit, undo and merge, so a balance costs a
// lookup rather than a pass over the account's transactions. The first call on a context registers
// them.
Amount transactionSum(objectstore::Context& context, objectstore::ManagedObject& account, QStringView name) {
    if (!context.hasToManySum(u"Account", u"transactions", kAllSum)) {
        context.registerToManySum(u"Account", u"transactions", QString::fromUtf16(kAllSum), u"amount", {});
    }
    if (!context.hasToManySum(u"Account", u"transactions", kPendingSum)) {
        context.registerToManySum(u"Account", u"transactions", QString::fromUtf16(kPendingSum), u"amount",
                                  &isPending);
    }
    if (account.isDeleted()) {
        // A deleted account has let go of its transactions.
        return Amount();
    }
    return context.toManySum(account, u"transactions", name);
}

bool inRange(const objectstore::ManagedObject& transaction, const std::optional<Day>& from,
             const std::optional<Day>& to) {
    const objectstore::Value value = transaction.value(fields().date);
    const auto* instant = std::get_if<QDateTime>(&value);
    if (instant == nullptr) {
        return false;
    }
    const Day date = Day::fromInstant(*instant);
    return (!from || date >= *from) && (!to || date <= *to);
}

void requireEndWithStart(const std::optional<Day>& from, const std::optional<Day>& to) {
    if (from && !to) {
        throw platform::InternalError("A period total with a start date needs an end date");
    }
}

} // namespace

QString Account::displayNameForType(const QString& type) {
    static const QStringList names{QStringLiteral("Checking"), QStringLiteral("Savings"),
                                   QStringLiteral("Credit Card"), QStringLiteral("Cash"),
                                   QStringLiteral("Other")};
    const qsizetype position = types().indexOf(type);
    return position < 0 ? QString() : names.at(position);
}

std::optional<Account> Account::first(objectstore::Context& context) {
    const std::vector<Account> accounts = allInAccountOrder(context);
    if (accounts.empty()) {
        return std::nullopt;
    }
    return accounts.front();
}

Account Account::accountAtIndex(objectstore::Context& context, std::int64_t index) {
    const std::vector<Account> accounts = allInAccountOrder(context);
    const auto count = static_cast<std::int64_t>(accounts.size());
    if (index < 0 || index >= count) {
        throw platform::InternalError(
            QStringLiteral("Child not found. Requested child at index %1 for Node <%2>, but there are "
                           "only %3 children.")
                .arg(index)
                .arg(QStringLiteral("Accounts"))
                .arg(count));
    }
    return accounts[static_cast<std::size_t>(index)];
}

bool Account::allHaveValidIndexInContext(objectstore::Context& context) {
    const auto accounts = context.all(u"Account");
    return std::all_of(accounts.begin(), accounts.end(), [](objectstore::ManagedObject* object) {
        const Account account(object);
        return account.index().has_value() && !account.sortKey().isNull();
    });
}

std::size_t Account::realIndex() const {
    const std::vector<Account> accounts = allInAccountOrder(context());
    return static_cast<std::size_t>(std::find(accounts.begin(), accounts.end(), *this) - accounts.begin());
}

bool Account::isLastNode() const {
    return realIndex() + 1 == context().count(u"Account");
}

void Account::moveToIndex(std::int64_t index) {
    std::vector<Account> accounts = allInAccountOrder(context());
    if (index > static_cast<std::int64_t>(accounts.size())) {
        throw platform::InternalError("index too big");
    }
    if (index < 0) {
        throw platform::InternalError("index below zero");
    }
    const auto self = std::find(accounts.begin(), accounts.end(), *this);
    if (self == accounts.end()) {
        throw platform::InternalError("just making sure we encounter self");
    }
    accounts.erase(self);
    // Once this account is out of the list, the end is one place nearer: moving to the end lands
    // there.
    const auto position = std::min(static_cast<std::size_t>(index), accounts.size());
    accounts.insert(accounts.begin() + static_cast<std::ptrdiff_t>(position), *this);
    for (std::size_t i = 0; i < accounts.size(); ++i) {
        accounts[i].setIndex(static_cast<std::int64_t>(i));
    }
}

// ---- Currency ------------------------------------------------------------------------------

std::optional<Currency> Account::currency() const {
    return Currency::withCode(context(), currencyCode());
}

QString Account::homeCurrencyCode() const {
    return Global::sharedInstanceInContext(context()).homeCurrencyCode();
}

bool Account::isForeign() const {
    const std::optional<Currency> own = currency();
    const std::optional<Currency> home = Currency::homeCurrencyInContext(context());
    return own.has_value() != home.has_value() || (own && *own != *home);
}

bool Account::hasDifferentCurrencyThanAccount(const Account& other) const {
    const std::optional<Currency> own = currency();
    const std::optional<Currency> theirs = other.currency();
    return own.has_value() != theirs.has_value() || (own && *own != *theirs);
}

CurrencyFormatter Account::formatterWithCents(bool withCents, const QString& localeId) const {
    CurrencyFormatter formatter = isForeign()
                                      ? General::formatterForCurrency(currencyCode(), localeId)
                                      : General::formatterForHomeCurrency(homeCurrencyCode(), localeId);
    if (!withCents) {
        formatter.setMaximumFractionDigits(0);
    }
    return formatter;
}

QString Account::nameWithBalance(const QString& localeId) const {
    return QStringLiteral("%1 (%2)").arg(name(), balanceStringWithCents(true, localeId));
}

// ---- Balances ------------------------------------------------------------------------------

Amount Account::balance() const {
    return startBalance().value_or(Amount()) + transactionSum(context(), *object(), kAllSum);
}

Amount Account::reconciledBalance() const {
    return startBalance().value_or(Amount()) + transactionSum(context(), *object(), kAllSum) -
           transactionSum(context(), *object(), kPendingSum);
}

Amount Account::balanceInHomeCurrency() const {
    return Currency::toHomeCurrency(context(), balance(), currencyCode());
}

Amount Account::reconciledBalanceInHomeCurrency() const {
    return Currency::toHomeCurrency(context(), reconciledBalance(), currencyCode());
}

QString Account::balanceStringWithCents(bool withCents, const QString& localeId) const {
    return formatterWithCents(withCents, localeId).format(balance());
}

QString Account::reconciledBalanceStringWithCents(bool withCents, const QString& localeId) const {
    return formatterWithCents(withCents, localeId).format(reconciledBalance());
}

Amount Account::totalStartingBalanceInContext(objectstore::Context& context) {
    Amount total;
    for (objectstore::ManagedObject* object : context.all(u"Account")) {
        const Account account(object);
        total += Currency::toHomeCurrency(context, account.startBalance().value_or(Amount()),
                                          account.currencyCode());
    }
    return total;
}

Amount Account::overallBalanceOnDate(objectstore::Context& context, const std::optional<Day>& day) {
    return totalFromDate(context, std::nullopt, day) + totalStartingBalanceInContext(context);
}

Amount Account::overallBalanceInContext(objectstore::Context& context) {
    return overallBalanceOnDate(context, std::nullopt);
}

QString Account::overallBalanceStringWithCents(objectstore::Context& context, bool withCents,
                                               const QString& localeId) {
    CurrencyFormatter formatter = General::formatterForHomeCurrency(
        Global::sharedInstanceInContext(context).homeCurrencyCode(), localeId);
    if (!withCents) {
        formatter.setMaximumFractionDigits(0);
    }
    return formatter.format(overallBalanceInContext(context));
}

Amount Account::totalFromDate(const std::optional<Day>& from, const std::optional<Day>& to) const {
    requireEndWithStart(from, to);
    if (!from && !to) {
        return transactionSum(context(), *object(), kAllSum);
    }
    return sumOfAmounts(transactions(), [&](const objectstore::ManagedObject& transaction) {
        return inRange(transaction, from, to);
    });
}

Amount Account::totalFromDate(objectstore::Context& context, const std::optional<Day>& from,
                              const std::optional<Day>& to) {
    requireEndWithStart(from, to);
    const QString homeCode = Global::sharedInstanceInContext(context).homeCurrencyCode();
    Amount home;
    Amount foreign;
    for (objectstore::ManagedObject* object : context.all(u"Account")) {
        const Account account(object);
        const Amount total = account.totalFromDate(from, to);
        if (account.currencyCode() == homeCode) {
            home += total;
        } else {
            // Converted once per account, so each foreign account's total is rounded once.
            foreign += Currency::exchangeByCode(context, total, account.currencyCode(), homeCode);
        }
    }
    return home + foreign;
}

// ---- Transactions of the account -----------------------------------------------------------

const std::vector<objectstore::ManagedObject*>& Account::orderedTransactions() const {
    objectstore::Context& store = context();
    if (isDeleted()) {
        throw platform::InternalError("Ordered transactions of a deleted account");
    }
    // The first call on a context registers the order, every later one finds it.
    if (!store.hasOrdering(u"Account", u"transactions", kRegisterOrdering)) {
        store.registerOrdering(u"Account", u"transactions", QString::fromUtf16(kRegisterOrdering),
                               [](const objectstore::ManagedObject& a, const objectstore::ManagedObject& b) {
                                   return Transaction::precedes(a, b);
                               },
                               {QStringLiteral("date"), QStringLiteral("sortKey")});
    }
    return store.orderedToMany(*object(), u"transactions", kRegisterOrdering);
}

std::vector<Transaction> Account::pendingTransactions() const {
    std::vector<Transaction> pending;
    for (objectstore::ManagedObject* object : orderedTransactions()) {
        if (Transaction transaction(object); transaction.isPending()) {
            pending.push_back(transaction);
        }
    }
    return pending;
}

std::size_t Account::numberOfPendingTransactions() const {
    const auto& all = transactions();
    return static_cast<std::size_t>(
        std::count_if(all.begin(), all.end(),
                      [](objectstore::ManagedObject* object) { return Transaction(object).isPending(); }));
}

std::size_t Account::numberOfNewTransactions() const {
    const auto& all = transactions();
    return static_cast<std::size_t>(
        std::count_if(all.begin(), all.end(),
                      [](objectstore::ManagedObject* object) { return Transaction(object).isNew(); }));
}

std::optional<Day> Account::dateOfEarliestTransaction() const {
    std::optional<Day> earliest;
    for (objectstore::ManagedObject* object : transactions()) {
        const std::optional<Day> date = Transaction(object).date();
        if (date && (!earliest || *date < *earliest)) {
            earliest = date;
        }
    }
    return earliest;
}

std::optional<Day> Account::dateOfLatestOFXTransaction() const {
    std::optional<Day> latest;
    for (objectstore::ManagedObject* object : transactions()) {
        const Transaction transaction(object);
        const std::optional<Day> date = transaction.date();
        if (transaction.ofxAmount() && date && (!latest || *date > *latest)) {
            latest = date;
        }
    }
    return latest;
}

std::optional<Day> Account::effectiveStartBalanceDate() const {
    const std::optional<Day> earliest = dateOfEarliestTransaction();
    const std::optional<Day> start = startBalanceDate();
    if (!earliest || (start && *start < *earliest)) {
        return start;
    }
    return earliest->daysAgo_VT(1);
}

bool Account::hasScheduledItems() const {
    return !scheduledItems().empty() || !toScheduledItems().empty();
}

QString Account::displayableScheduleList() const {
    if (!hasScheduledItems()) {
        return {};
    }
    QString list;
    for (objectstore::ManagedObject* object : scheduledItems()) {
        const ScheduledItem item(object);
        list += item.isTransfer() ? QStringLiteral("  •  %1 (Transfer)\n").arg(item.title())
                                  : QStringLiteral("  •  %1\n").arg(item.title());
    }
    for (objectstore::ManagedObject* object : toScheduledItems()) {
        list += QStringLiteral("  •  %1 (Transfer)\n").arg(ScheduledItem(object).title());
    }
    return list;
}

void Account::destroy() {
    context().deleteObject(object());
}

// ---- Creating transactions and transfers ---------------------------------------------------

Transaction Account::createTransactionWithDate(const Day& date, const QString& title, const Amount& amount,
                                               objectstore::ManagedObject* category, const QString& notes,
                                               const std::optional<std::int64_t>& checkNumber,
                                               const platform::Clock& clock) {
    Transaction transaction = Transaction::insertInContext(context(), clock);
    if (type() == QStringLiteral("cash")) {
        // Cash has no bank to clear it against.
        transaction.setFlagged(false);
    }
    transaction.setDate(date);
    transaction.setTitle(title);
    transaction.setNotes(notes);
    transaction.setCheckNumber(checkNumber);
    transaction.setAmount(amount);
    transaction.setSingleCategory(category);
    transaction.setAccount(object());
    return transaction;
}

std::optional<TransferSetting> Account::settingForTransferTo(const Account& to) {
    std::vector<objectstore::ManagedObject*> matching;
    for (objectstore::ManagedObject* setting : transferSettings()) {
        if (TransferSetting(setting).toAccount() == to.object()) {
            matching.push_back(setting);
        }
    }
    if (matching.empty()) {
        return std::nullopt;
    }
    // Keep the oldest, whichever order the set is in.
    std::sort(matching.begin(), matching.end(),
              [](objectstore::ManagedObject* a, objectstore::ManagedObject* b) {
                  return a->id().key < b->id().key;
              });
    if (matching.size() > 1) {
        platform::Log::write(QStringLiteral("detected duplicate transfer setting)"));
        for (std::size_t i = 1; i < matching.size(); ++i) {
            context().deleteObject(matching[i]);
        }
    }
    return TransferSetting(matching.front());
}

Account::TransferResult Account::transfer(const Amount& amount, const Account& to,
                                          objectstore::ManagedObject* category, const QString& title,
                                          const std::optional<Day>& date, const platform::Clock& clock) {
    const Day day = date.value_or(Day::today_VT(clock));
    const bool titled = !title.isEmpty();
    const QString sourceTitle = titled ? title : QStringLiteral("To %1").arg(to.name());
    const QString destinationTitle = titled ? title : QStringLiteral("From %1").arg(name());
    const Amount received =
        hasDifferentCurrencyThanAccount(to)
            ? Currency::exchangeByCode(context(), amount, currencyCode(), to.currencyCode())
            : amount;

    Transaction source = createTransactionWithDate(day, sourceTitle, amount.negate_vt(), category, QString(),
                                                   std::nullopt, clock);
    Transaction destination = Account(to).createTransactionWithDate(day, destinationTitle, received, category,
                                                                    QString(), std::nullopt, clock);

    std::optional<TransferSetting> setting = settingForTransferTo(to);
    if (!setting) {
        setting = TransferSetting::insertInContext(context());
        setting->setAccount(object());
    }
    setting->setToAccount(to.object());
    setting->setAmount(amount);
    setting->setTitle(titled ? title : QString());
    setting->setCategory(category);
    setLastTransferSetting(setting->object());
    return {source, destination};
}

} // namespace vantrel::model
