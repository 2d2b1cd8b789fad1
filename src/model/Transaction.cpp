#include "model/Transaction.h"

#include "model/Account.h"
#include "model/CategoryVT.h"
#include "model/Currency.h"
#include "model/Global.h"
#include "model/ModelErrors.h"
#include "model/Split.h"
#include "model/SplitSet.h"
#include "model/TextHelper.h"
#include "platform/Clock.h"
#include "platform/InternalError.h"
#include "platform/objectstore/Context.h"
#include "platform/objectstore/ObjectValidator.h"
#include "platform/objectstore/ValueOrdering.h"

#include <algorithm>
#include <map>
#include <unordered_set>

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

// ---- Order and queries ---------------------------------------------------------------------

namespace {

objectstore::Value rawDate(const objectstore::ManagedObject& object) {
    return object.value(ix().date);
}

objectstore::Value rawSortKey(const objectstore::ManagedObject& object) {
    return object.value(ix().sortKey);
}

std::vector<Transaction> typed(const std::vector<objectstore::ManagedObject*>& objects) {
    std::vector<Transaction> transactions;
    transactions.reserve(objects.size());
    for (objectstore::ManagedObject* object : objects) {
        transactions.emplace_back(object);
    }
    return transactions;
}

// The name as a payee completion compares it: the same text ignoring case, then only white space,
// which is what "^name\s*$" matches for a literal name.
bool titleMatchesName(const QString& title, const QString& name) {
    if (title.size() < name.size() ||
        QStringView(title).first(name.size()).compare(name, Qt::CaseInsensitive) != 0) {
        return false;
    }
    const QStringView rest = QStringView(title).sliced(name.size());
    return std::all_of(rest.begin(), rest.end(), [](QChar c) { return c.isSpace(); });
}

// The most counted object; a tie goes to the lowest key so the answer never depends on load order.
objectstore::ManagedObject* mostCounted(const std::map<objectstore::ManagedObject*, int>& counts) {
    objectstore::ManagedObject* best = nullptr;
    int bestCount = 0;
    for (const auto& [object, count] : counts) {
        if (count > bestCount ||
            (count == bestCount && best != nullptr && object->id().key < best->id().key)) {
            best = object;
            bestCount = count;
        }
    }
    return best;
}

std::vector<objectstore::ManagedObject*> transactionsTitled(objectstore::Context& context,
                                                            const QString& name) {
    return context.fetch(u"Transaction", [&name](const objectstore::ManagedObject& transaction) {
        const objectstore::Value title = transaction.value(ix().title);
        const auto* text = std::get_if<QString>(&title);
        return text != nullptr && titleMatchesName(*text, name);
    });
}

QString categoryName(objectstore::ManagedObject* category) {
    return category == nullptr ? QStringLiteral("Uncategorized") : CategoryVT(category).name();
}

Amount sumOf(const std::vector<PlainSplit>& lines) {
    Amount total;
    for (const PlainSplit& line : lines) {
        total += line.amount;
    }
    return total;
}

} // namespace

std::vector<objectstore::SortDescriptor> Transaction::defaultSortDescriptors() {
    return {
        objectstore::SortDescriptor::byKey(QStringLiteral("date"), objectstore::SortOrder::Descending),
        objectstore::SortDescriptor::byKey(QStringLiteral("sortKey"), objectstore::SortOrder::Descending)};
}

bool Transaction::precedes(const Transaction& a, const Transaction& b) {
    return precedes(*a.object(), *b.object());
}

bool Transaction::precedes(const objectstore::ManagedObject& a, const objectstore::ManagedObject& b) {
    // The natural order of values, as the sort descriptors use it, so a registered ordering and a
    // sorted fetch agree.
    if (const int byDate = objectstore::compareValues(rawDate(a), rawDate(b)); byDate != 0) {
        return byDate > 0;
    }
    return objectstore::compareValues(rawSortKey(a), rawSortKey(b)) > 0;
}

std::vector<Transaction> Transaction::allInContext(objectstore::Context& context) {
    return typed(context.fetch(u"Transaction", {}, defaultSortDescriptors()));
}

std::optional<Day> Transaction::dateOfEarliestTransactionInContext(objectstore::Context& context) {
    objectstore::ManagedObject* earliest = context.dateExtremes(u"Transaction", u"date").first;
    return earliest != nullptr ? Transaction(earliest).date() : std::nullopt;
}

std::optional<Day> Transaction::dateOfLatestTransactionInContext(objectstore::Context& context) {
    objectstore::ManagedObject* latest = context.dateExtremes(u"Transaction", u"date").second;
    return latest != nullptr ? Transaction(latest).date() : std::nullopt;
}

std::pair<Day, Day> Transaction::reportDateRange(objectstore::Context& context,
                                                 const platform::Clock& clock) {
    const Day today = Day::today_VT(clock);
    const std::optional<Day> earliest = dateOfEarliestTransactionInContext(context);
    const std::optional<Day> latest = dateOfLatestTransactionInContext(context);
    return {earliest ? std::min(today, *earliest) : today, latest ? std::max(today, *latest) : today};
}

std::vector<Transaction> Transaction::allWithDateRange(objectstore::Context& context, const Day& from,
                                                       const Day& to) {
    return typed(context.inDateRange(u"Transaction", u"date", from.toInstant(), to.toInstant()));
}

std::vector<Transaction> Transaction::allWithDateRange(objectstore::Context& context, const Day& from,
                                                       const Day& to, objectstore::ManagedObject* category) {
    std::vector<Transaction> found;
    for (objectstore::ManagedObject* object :
         context.inDateRange(u"Transaction", u"date", from.toInstant(), to.toInstant())) {
        const Transaction transaction(object);
        objectstore::ManagedObject* splitSet = transaction.splitSet();
        bool matches = false;
        if (splitSet == nullptr) {
            matches = transaction.category() == category;
        } else {
            const auto& lines = SplitSet(splitSet).splits();
            matches = std::any_of(lines.begin(), lines.end(), [category](objectstore::ManagedObject* split) {
                return Split(split).category() == category;
            });
            // A stray category next to a split set (the state repair code 108 mends) still counts.
            matches = matches || (category != nullptr && transaction.category() == category);
        }
        if (matches) {
            found.push_back(transaction);
        }
    }
    return found;
}

QStringList Transaction::payeesMatching(objectstore::Context& context, const QString& typed) {
    std::unordered_set<QString> seen;
    QStringList titles;
    for (objectstore::ManagedObject* object : context.all(u"Transaction")) {
        const objectstore::Value value = object->value(ix().title);
        const auto* title = std::get_if<QString>(&value);
        if (title != nullptr && title->startsWith(typed, Qt::CaseInsensitive) && seen.insert(*title).second) {
            titles.push_back(*title);
        }
    }
    std::sort(titles.begin(), titles.end(), [](const QString& a, const QString& b) {
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    });
    return titles;
}

objectstore::ManagedObject* Transaction::mostUsedCategoryForName(objectstore::Context& context,
                                                                 const QString& name) {
    std::map<objectstore::ManagedObject*, int> counts;
    for (objectstore::ManagedObject* object : transactionsTitled(context, name)) {
        for (const PlainSplit& line : Transaction(object).splits()) {
            if (line.category != nullptr) {
                ++counts[line.category];
            }
        }
    }
    return mostCounted(counts);
}

objectstore::ManagedObject* Transaction::mostUsedAccountForName(objectstore::Context& context,
                                                                const QString& name) {
    std::map<objectstore::ManagedObject*, int> counts;
    for (objectstore::ManagedObject* object : transactionsTitled(context, name)) {
        if (objectstore::ManagedObject* account = Transaction(object).account()) {
            ++counts[account];
        }
    }
    return mostCounted(counts);
}

// ---- Balances and accounts -----------------------------------------------------------------

Amount Transaction::runningBalance() const {
    const Amount own = amount().value_or(Amount());
    objectstore::ManagedObject* owner = account();
    if (owner == nullptr) {
        return own;
    }
    const objectstore::Value date = rawDate(*object());
    const objectstore::Value sortKey = rawSortKey(*object());
    Amount before;
    if (!objectstore::isAbsent(date)) {
        for (objectstore::ManagedObject* other : Account(owner).transactions()) {
            const objectstore::Value otherDate = rawDate(*other);
            if (objectstore::isAbsent(otherDate)) {
                continue;
            }
            const int byDate = objectstore::compareValues(otherDate, date);
            const bool earlier = byDate < 0 || (byDate == 0 && !objectstore::isAbsent(sortKey) &&
                                                !objectstore::isAbsent(rawSortKey(*other)) &&
                                                objectstore::compareValues(rawSortKey(*other), sortKey) < 0);
            if (earlier) {
                before += Transaction(other).amount().value_or(Amount());
            }
        }
    }
    return Account(owner).startBalance().value_or(Amount()) + before + own;
}

void Transaction::moveTo(const Account& account) {
    setAccount(account.object());
}

// ---- Category lines ------------------------------------------------------------------------

std::vector<PlainSplit> Transaction::splits() const {
    objectstore::ManagedObject* set = splitSet();
    if (set == nullptr) {
        return {PlainSplit{category(), amount().value_or(Amount())}};
    }
    std::vector<PlainSplit> lines;
    for (objectstore::ManagedObject* object : SplitSet(set).splits()) {
        const Split split(object);
        lines.push_back(PlainSplit{split.category(), split.amount().value_or(Amount())});
    }
    return lines;
}

std::vector<PlainSplit> Transaction::sortedSplits() const {
    std::vector<PlainSplit> lines = splits();
    const auto categorised = std::stable_partition(lines.begin(), lines.end(),
                                                   [](const PlainSplit& line) { return line.category; });
    std::stable_sort(lines.begin(), categorised, [](const PlainSplit& a, const PlainSplit& b) {
        if (a.amount != b.amount) {
            return a.amount < b.amount;
        }
        return CategoryVT(a.category).name() < CategoryVT(b.category).name();
    });
    std::stable_sort(categorised, lines.end(),
                     [](const PlainSplit& a, const PlainSplit& b) { return a.amount > b.amount; });
    return lines;
}

bool Transaction::hasSingleCategory() const {
    objectstore::ManagedObject* set = splitSet();
    return set == nullptr || SplitSet(set).splits().size() == 1;
}

objectstore::ManagedObject* Transaction::theCategory() const {
    const std::vector<PlainSplit> lines = splits();
    if (lines.size() != 1) {
        throw platform::InternalError("should not call category with more than one splits");
    }
    return lines.front().category;
}

void Transaction::setSingleCategory(objectstore::ManagedObject* category) {
    const std::optional<Amount> current = amount();
    if (!current) {
        // An entry without an amount yet stays without one.
        replaceSplitSet(nullptr);
        setCategory(category);
        return;
    }
    setMultipleCategoriesAndAmounts({PlainSplit{category, *current}});
}

void Transaction::setMultipleCategoriesAndAmounts(const std::vector<PlainSplit>& pairs) {
    if (pairs.empty()) {
        throw platform::InternalError(
            QStringLiteral("argument should be in multiples of two, but got %1, the transaction was %2")
                .arg(0)
                .arg(object()->id().toText(context().model())));
    }
    if (pairs.size() == 1) {
        replaceSplitSet(nullptr);
        setCategory(pairs.front().category);
        setAmount(pairs.front().amount);
        return;
    }
    const SplitSet set = SplitSet::insertInContext(context());
    for (const PlainSplit& pair : pairs) {
        Split split = Split::insertInContext(context());
        split.setAmount(pair.amount);
        split.setCategory(pair.category);
        split.setSplitSet(set.object());
    }
    replaceSplitSet(set.object());
    setCategory(nullptr);
}

objectstore::ManagedObject* Transaction::splitToSingle() const {
    const std::vector<PlainSplit> lines = splits();
    if (lines.size() == 1) {
        return lines.front().category;
    }
    const PlainSplit* largest = nullptr;
    for (const PlainSplit& line : lines) {
        if (largest == nullptr || line.amount.absolute_vt() > largest->amount.absolute_vt()) {
            largest = &line;
        }
    }
    return largest == nullptr ? nullptr : largest->category;
}

void Transaction::fixSplitsIfNecessary() {
    std::vector<PlainSplit> lines = splits();
    if (lines.empty()) {
        throw platform::InternalError("should not be called with no splits");
    }
    const Amount total = amount().value_or(Amount());
    const Amount difference = total - sumOf(lines);
    if (difference.isZero()) {
        return;
    }
    lines.push_back(PlainSplit{nullptr, difference});
    setMultipleCategoriesAndAmounts(lines);
    if (sumOf(splits()) != total) {
        throw platform::InternalError("should now have amounts match");
    }
}

void Transaction::safelyChangeAmountTo(const Amount& newAmount) {
    if (amount() != newAmount) {
        setAmount(newAmount);
    }
    if (hasSingleCategory()) {
        setSingleCategory(theCategory());
    } else {
        fixSplitsIfNecessary();
    }
}

void Transaction::fixSplitSetAndCategoryBothSetError() {
    setCategory(nullptr);
}

// ---- Clearing states -----------------------------------------------------------------------

Transaction::Kind Transaction::deducedType() const {
    if (!ofxAmount()) {
        return Kind::User;
    }
    return isImported() ? Kind::Bank : Kind::Matched;
}

bool Transaction::isPending() const {
    return isFlagged() && !ofxAmount();
}

bool Transaction::isNew() const {
    return isFlagged() && ofxAmount().has_value();
}

QString Transaction::flag() const {
    if (isPending()) {
        return QStringLiteral("pending");
    }
    if (isNew()) {
        return QStringLiteral("new");
    }
    return {};
}

bool Transaction::allBankFieldsAreNil() const {
    return !ofxAmount() && ofxTitle().isNull() && !ofxDate() && !ofxCheckNumber() && ofxFitID().isNull();
}

void Transaction::matchWith(Transaction& bank) {
    if (bank.object() == object() || !bank.isBank() || bank.account() != account() || !isPending() ||
        amount() != bank.amount()) {
        throw platform::InternalError(
            "A match takes a bank transaction of the same account and amount into a pending entry");
    }
    setOfxAmount(bank.ofxAmount());
    setOfxTitle(bank.ofxTitle());
    setOfxDate(bank.ofxDate());
    setOfxCheckNumber(bank.ofxCheckNumber());
    setOfxFitID(bank.ofxFitID());
    if (!checkNumber()) {
        setCheckNumber(bank.ofxCheckNumber());
    }
    setFlagged(false);
    context().deleteObject(bank.object());
}

Transaction Transaction::undoMatch(const platform::Clock& clock) {
    if (!isMatched()) {
        throw platform::InternalError("Only a matched transaction can be unmatched");
    }
    Transaction bank = insertInContext(context(), clock);
    bank.setTitle(TextHelper::capitalizedWords(ofxTitle()));
    bank.setAmount(ofxAmount());
    if (const std::optional<Day> day = ofxDate()) {
        bank.setDate(*day);
    }
    bank.setCheckNumber(ofxCheckNumber());
    bank.setImported(true);
    bank.setFlagged(true);
    bank.setOfxAmount(ofxAmount());
    bank.setOfxTitle(ofxTitle());
    bank.setOfxDate(ofxDate());
    bank.setOfxCheckNumber(ofxCheckNumber());
    bank.setOfxFitID(ofxFitID());
    bank.setAccount(account());
    clearBankFields();
    setFlagged(true);
    return bank;
}

// ---- Derived texts -------------------------------------------------------------------------

QString Transaction::categoryBasedTitle() const {
    std::vector<PlainSplit> lines = splits();
    if (lines.size() == 1) {
        return categoryName(lines.front().category);
    }
    std::stable_sort(lines.begin(), lines.end(),
                     [](const PlainSplit& a, const PlainSplit& b) { return a.amount > b.amount; });
    QStringList names;
    for (const PlainSplit& line : lines) {
        const QString name = categoryName(line.category);
        if (!names.contains(name)) {
            names.push_back(name);
        }
    }
    return TextHelper::naturalList(names);
}

QString Transaction::keywords() const {
    QString text;
    if (const QString title = this->title(); !title.isEmpty()) {
        text += title + u' ';
    }
    for (const PlainSplit& line : splits()) {
        if (line.category != nullptr) {
            text += CategoryVT(line.category).name() + u' ';
        }
    }
    if (const QString notes = this->notes(); !notes.isEmpty()) {
        text += notes + u' ';
    }
    // Exact to the cent at any size (a float would lose cents above 167,772.16).
    text += amount().value_or(Amount()).absolute_vt().rounded(2).toString();
    return text;
}

QString Transaction::utcDateString() const {
    const std::optional<Day> day = date();
    if (!day) {
        return {};
    }
    return day->toIsoString() + QStringLiteral(" 00:00:00 +0000");
}

bool Transaction::hasTitle() const {
    return TextHelper::isPresent_vt(title());
}

bool Transaction::hasNote() const {
    return TextHelper::isPresent_vt(notes());
}

} // namespace vantrel::model
