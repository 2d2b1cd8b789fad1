#include "model/Transaction.h"

#include "model/Account.h"
#include "model/Currency.h"
#include "model/Global.h"
#include "model/ModelErrors.h"
#include "model/TextHelper.h"
#include "platform/Clock.h"
#include "platform/objectstore/Context.h"
#include "platform/objectstore/ObjectValidator.h"

namespace vantrel::model {

namespace {

struct Indexes {
    static int a(const char16_t* name) { return EntityObject::attributeIndex(u"Transaction", name); }
    static int r(const char16_t* name) { return EntityObject::relationshipIndex(u"Transaction", name); }

    int cloudID = a(u"cloudID");
    int date = a(u"date");
    int title = a(u"title");
    int notes = a(u"notes");
    int amount = a(u"amount");
    int checkNumber = a(u"checkNumber");
    int sortKey = a(u"sortKey");
    int isFlagged = a(u"isFlagged");
    int isImported = a(u"isImported");
    int ofxTitle = a(u"ofxTitle");
    int ofxAmount = a(u"ofxAmount");
    int ofxDate = a(u"ofxDate");
    int ofxCheckNumber = a(u"ofxCheckNumber");
    int ofxFitID = a(u"ofxFitID");
    int account = r(u"account");
    int category = r(u"category");
    int splitSet = r(u"splitSet");
};

const Indexes& ix() {
    static const Indexes indexes;
    return indexes;
}

// Split sums may carry more places than cents only through bad data; compare with a tolerance.
const Amount kSplitTolerance = *Amount::fromAscii("0.00000000001");

} // namespace

Transaction::Transaction(objectstore::ManagedObject* object)
    : EntityObject(object) {}

Transaction Transaction::insertInContext(objectstore::Context& context, const platform::Clock& clock) {
    Transaction transaction(insertWithCloudID(context, u"Transaction"));
    transaction.setDate(Day::today_VT(clock));
    transaction.setSortKey(newSortKey(clock));
    transaction.setFlagged(true);
    return transaction;
}

QString Transaction::newSortKey(const platform::Clock& clock) {
    const QString time = clock.now().toTimeZone(clock.timeZone()).toString(QStringLiteral("HH:mm:ss.zzz"));
    return time + u' ' + TextHelper::hashWithLength(8);
}

QString Transaction::homeCurrencyCode() const {
    return Global::sharedInstanceInContext(context()).homeCurrencyCode();
}

Amount Transaction::amountInHomeCurrency() const {
    const Amount value = amount().value_or(Amount());
    objectstore::ManagedObject* owner = account();
    if (owner == nullptr) {
        return value;
    }
    return Currency::toHomeCurrency(context(), value, Account(owner).currencyCode());
}

QString Transaction::cloudID() const {
    return string(ix().cloudID);
}

std::optional<Day> Transaction::date() const {
    return day(ix().date);
}

void Transaction::setDate(const Day& value) {
    setDay(ix().date, value);
}

void Transaction::setDate(const QDateTime& instant) {
    setDay(ix().date, Day::fromInstant(instant));
}

QString Transaction::title() const {
    return string(ix().title);
}

void Transaction::setTitle(const QString& title) {
    setString(ix().title, title);
}

QString Transaction::notes() const {
    return string(ix().notes);
}

void Transaction::setNotes(const QString& notes) {
    setString(ix().notes, notes);
}

std::optional<Amount> Transaction::amount() const {
    return decimal(ix().amount);
}

void Transaction::setAmount(const std::optional<Amount>& amount) {
    setDecimal(ix().amount, amount);
}

std::optional<std::int64_t> Transaction::checkNumber() const {
    return integer(ix().checkNumber);
}

void Transaction::setCheckNumber(const std::optional<std::int64_t>& number) {
    setInteger(ix().checkNumber, number);
}

QString Transaction::sortKey() const {
    return string(ix().sortKey);
}

void Transaction::setSortKey(const QString& sortKey) {
    setString(ix().sortKey, sortKey);
}

bool Transaction::isFlagged() const {
    return boolean(ix().isFlagged).value_or(false);
}

void Transaction::setFlagged(bool flagged) {
    setBoolean(ix().isFlagged, flagged);
}

bool Transaction::isImported() const {
    return boolean(ix().isImported).value_or(false);
}

void Transaction::setImported(bool imported) {
    setBoolean(ix().isImported, imported);
}

QString Transaction::ofxTitle() const {
    return string(ix().ofxTitle);
}

void Transaction::setOfxTitle(const QString& title) {
    setString(ix().ofxTitle, title);
}

std::optional<Amount> Transaction::ofxAmount() const {
    return decimal(ix().ofxAmount);
}

void Transaction::setOfxAmount(const std::optional<Amount>& amount) {
    setDecimal(ix().ofxAmount, amount);
}

std::optional<Day> Transaction::ofxDate() const {
    return day(ix().ofxDate);
}

void Transaction::setOfxDate(const std::optional<Day>& value) {
    setDay(ix().ofxDate, value);
}

std::optional<std::int64_t> Transaction::ofxCheckNumber() const {
    return integer(ix().ofxCheckNumber);
}

void Transaction::setOfxCheckNumber(const std::optional<std::int64_t>& number) {
    setInteger(ix().ofxCheckNumber, number);
}

QString Transaction::ofxFitID() const {
    return string(ix().ofxFitID);
}

void Transaction::setOfxFitID(const QString& fitID) {
    setString(ix().ofxFitID, fitID);
}

void Transaction::clearBankFields() {
    setOfxAmount(std::nullopt);
    setOfxCheckNumber(std::nullopt);
    setOfxDate(std::nullopt);
    setOfxFitID(QString());
    setOfxTitle(QString());
}

objectstore::ManagedObject* Transaction::account() const {
    return toOne(ix().account);
}

void Transaction::setAccount(objectstore::ManagedObject* account) {
    setToOne(ix().account, account);
}

objectstore::ManagedObject* Transaction::category() const {
    return toOne(ix().category);
}

void Transaction::setCategory(objectstore::ManagedObject* category) {
    setToOne(ix().category, category);
}

objectstore::ManagedObject* Transaction::splitSet() const {
    return toOne(ix().splitSet);
}

void Transaction::replaceSplitSet(objectstore::ManagedObject* splitSet) {
    objectstore::ManagedObject* old = this->splitSet();
    if (old == splitSet) {
        return;
    }
    setToOne(ix().splitSet, splitSet);
    if (old != nullptr) {
        context().deleteObject(old);
    }
}

std::optional<objectstore::ValidationError> Transaction::validate(objectstore::ManagedObject& object,
                                                                  objectstore::ValidationPhase phase) {
    if (phase == objectstore::ValidationPhase::Delete) {
        return std::nullopt;
    }
    const Transaction transaction(&object);
    std::optional<objectstore::ValidationError> errors;
    const auto add = [&errors](objectstore::ValidationError error) {
        errors = objectstore::ObjectValidator::appendInOrder(errors, error);
    };
    if (const auto amount = transaction.amount(); amount && !amount->hasAtMostPlaces(2)) {
        add(ModelErrors::internalGeneralError(QStringLiteral("9FE4R")));
    }
    const bool anyBankField = transaction.ofxAmount() || !transaction.ofxTitle().isNull() ||
                              transaction.ofxDate() || transaction.ofxCheckNumber() ||
                              !transaction.ofxFitID().isNull();
    const bool coreBankFields =
        transaction.ofxAmount() && !transaction.ofxTitle().isNull() && transaction.ofxDate();
    if (anyBankField && !coreBankFields) {
        add(ModelErrors::inconsistentBankFields());
    }
    if (transaction.isImported() && !transaction.ofxAmount()) {
        add(ModelErrors::internalValidationError(QStringLiteral("GTEUW")));
    }
    objectstore::ManagedObject* splitSet = transaction.splitSet();
    if (splitSet != nullptr && transaction.category() != nullptr) {
        // Which of the two is right is unknown, so the split sum is not checked.
        add(ModelErrors::categoryAndSplitSetBothPresent());
    } else if (splitSet != nullptr) {
        Amount sum;
        const int splitAmount = EntityObject::attributeIndex(u"Split", u"amount");
        for (objectstore::ManagedObject* split : splitSet->toMany(u"splits")) {
            const objectstore::Value value = split->value(splitAmount);
            if (const auto* amount = std::get_if<Amount>(&value)) {
                sum += *amount;
            }
        }
        if (!sum.isEqualTo_vt(transaction.amount().value_or(Amount()), kSplitTolerance)) {
            add(ModelErrors::splitAmountMismatch());
        }
    }
    return errors;
}

} // namespace vantrel::model
