#include "model/Account.h"

#include "model/Global.h"
#include "model/ModelErrors.h"
#include "model/TextHelper.h"
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

} // namespace vantrel::model
