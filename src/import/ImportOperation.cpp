#include "import/ImportOperation.h"

#include "import/DateParser.h"
#include "import/ParseException.h"
#include "import/QifReader.h"
#include "model/CategoryVT.h"
#include "model/TextHelper.h"
#include "model/TransferSetting.h"
#include "platform/InternalError.h"
#include "platform/objectstore/Context.h"

#include <algorithm>

namespace vantrel::import {

namespace {

// Stops a context from recording undo while it lives.
class UndoSuspension {
public:
    explicit UndoSuspension(objectstore::Context& context)
        : m_undo(context.undoManager()) {
        m_undo.disable();
    }
    ~UndoSuspension() { m_undo.enable(); }
    UndoSuspension(const UndoSuspension&) = delete;
    UndoSuspension& operator=(const UndoSuspension&) = delete;

private:
    objectstore::UndoManager& m_undo;
};

QString latin1(const char* text) {
    return QString::fromLatin1(text);
}

bool isBlank(const std::optional<QString>& text) {
    return !text || model::TextHelper::isBlank_vt(*text);
}

// "^\[(.*)\]$" without a regular expression: the text between the brackets, when the whole text
// is one bracketed line.
std::optional<QString> bracketedName(const std::optional<QString>& category) {
    if (!category || category->size() < 2 || !category->startsWith(u'[') || !category->endsWith(u']')) {
        return std::nullopt;
    }
    const QString name = category->mid(1, category->size() - 2);
    if (name.contains(u'\n') || name.contains(u'\r')) {
        return std::nullopt;
    }
    return name;
}

ParseException dateFormatException(const char* reason, const QString& sampleText,
                                   const std::optional<DateOrder>& order) {
    QVariantMap details{{latin1(ImportOperation::kSampleTextKey), sampleText}};
    if (order) {
        details.insert(latin1(ImportOperation::kDateFormatKey), order->text());
    }
    return ParseException(latin1(ParseException::kDateFormat), latin1(reason), details);
}

} // namespace

ImportOperation::ImportOperation(QString fileName, std::optional<objectstore::ObjectID> targetAccountID,
                                 ImportChoices choices, const platform::Clock& clock)
    : m_fileName(std::move(fileName))
    , m_targetAccountID(targetAccountID)
    , m_choices(std::move(choices))
    , m_clock(clock)
    , m_progress{0, 0, true, latin1(kStartingUp)} {}

ImportOperation::ImportOperation(ImportedAccount accountDictionary, objectstore::ObjectID targetAccountID,
                                 ImportChoices choices, const platform::Clock& clock)
    : m_accountDictionary(std::move(accountDictionary))
    , m_targetAccountID(targetAccountID)
    , m_choices(std::move(choices))
    , m_clock(clock)
    , m_progress{0, 0, true, latin1(kStartingUp)} {}

// ---- Runs ------------------------------------------------------------------------------------

objectstore::SaveResult ImportOperation::import(objectstore::Context& context) {
    if (m_targetAccountID) {
        importSingleAccountFileIntoContext(context);
    } else {
        importFileIntoContext(context);
    }
    objectstore::SaveResult result = context.save();
    if (result.succeeded()) {
        recordIds();
    }
    return result;
}

void ImportOperation::performCsvImport(objectstore::Context& context) {
    if (!m_accountDictionary || !m_targetAccountID) {
        throw platform::InternalError("A CSV import needs an account entry and a target account");
    }
    if (context.hasChanges()) {
        // A failure rolls back the whole context, which must not take the user's edits with it.
        throw platform::InternalError("Save the context before a CSV import");
    }
    try {
        const std::vector<ImportedTransaction>& entries = m_accountDictionary->transactions;
        if (entries.empty()) {
            return;
        }
        model::Account account = targetAccountIn(context);
        const QStringList texts = dateTextsForGuess({*m_accountDictionary});
        const std::optional<DateOrder> dateOrder = guessDateOrder(texts);
        for (const ImportedTransaction& entry : entries) {
            addTransaction(entry, account, dateOrder, context);
        }
        recordIds();
    } catch (...) {
        context.rollback();
        m_transactionsAdded.clear();
        m_categoriesAdded.clear();
        m_numberOfTransactionsAdded = 0;
        throw;
    }
}

// A QIF run's context is its own and is dropped after the save, or it is the command-line tool's,
// which ends with it: an undo history of a whole file would only cost time and memory.
void ImportOperation::importFileIntoContext(objectstore::Context& context) {
    const UndoSuspension suspension(context);
    importAccountsIntoContext(QifReader::parseAccountsFileFromApp(m_fileName), context);
}

void ImportOperation::importSingleAccountFileIntoContext(objectstore::Context& context) {
    const UndoSuspension suspension(context);
    importTransactionsIntoTargetAccount(QifReader::parseTransactionsOnlyFileFromApp(m_fileName), context);
}

void ImportOperation::importAccountsIntoContext(const std::vector<ImportedAccount>& accounts,
                                                objectstore::Context& context) {
    const std::optional<DateOrder> dateOrder = guessDateOrder(dateTextsForGuess(accounts));
    int total = 0;
    for (const ImportedAccount& entry : accounts) {
        total += static_cast<int>(entry.transactions.size());
    }
    report(0, total, false, m_progress.label);
    for (const ImportedAccount& entry : accounts) {
        importAccount(entry, dateOrder, context);
    }
    report(m_progress.value, m_progress.maximum, true, latin1(kSavingChanges));
}

void ImportOperation::importAccount(const ImportedAccount& entry, std::optional<DateOrder> dateOrder,
                                    objectstore::Context& context) {
    model::Account account = model::Account::insertInContext(context, m_clock);
    const QString name = entry.name.value_or(QString());
    account.setName(name);
    account.setType(lookupAccountType(entry.type));
    report(m_progress.value, m_progress.maximum, m_progress.indeterminate,
           latin1(kImportingAccount).arg(name));

    bool openingBalanceFound = false;
    for (const ImportedTransaction& transaction : entry.transactions) {
        throwIfAborted();
        if (!openingBalanceFound && isOpeningBalanceTransaction(transaction, account)) {
            openingBalanceFound = true;
            account.setStartBalance(transaction.amount);
            account.setStartBalanceDate(readDate(transaction.dateString, dateOrder));
        } else {
            addTransaction(transaction, account, dateOrder, context);
        }
        reportValue(m_progress.value + 1);
    }
    if (!openingBalanceFound) {
        determineStartBalanceDateFor(account);
    }
    m_accountsAdded.push_back(account.object());
}

void ImportOperation::importTransactionsIntoTargetAccount(const ImportedAccount& entry,
                                                          objectstore::Context& context) {
    model::Account account = targetAccountIn(context);
    if (entry.transactions.empty()) {
        return;
    }
    const std::optional<DateOrder> dateOrder = guessDateOrder(dateTextsForGuess({entry}));
    const int total = static_cast<int>(entry.transactions.size());
    report(0, total, false, latin1(kImportingTransactions).arg(total));
    for (const ImportedTransaction& transaction : entry.transactions) {
        throwIfAborted();
        addTransaction(transaction, account, dateOrder, context);
        reportValue(m_progress.value + 1);
    }
    report(m_progress.value, m_progress.maximum, true, latin1(kSavingChanges));
}

void ImportOperation::addTransaction(const ImportedTransaction& entry, model::Account& account,
                                     const std::optional<DateOrder>& dateOrder,
                                     objectstore::Context& context) {
    model::Transaction transaction = createTransactionFromDictionary(entry, context, dateOrder);
    transaction.setAccount(account.object());
    m_transactionsAdded.push_back(transaction.object());
    ++m_numberOfTransactionsAdded;
}

model::Account ImportOperation::targetAccountIn(objectstore::Context& context) const {
    objectstore::ManagedObject* object = m_targetAccountID ? context.object(*m_targetAccountID) : nullptr;
    if (object == nullptr) {
        throw platform::InternalError("The account to import into is not in the store");
    }
    return model::Account(object);
}

// ---- Date order ------------------------------------------------------------------------------

QStringList ImportOperation::dateTextsForGuess(const std::vector<ImportedAccount>& accounts) {
    QStringList texts;
    for (const ImportedAccount& account : accounts) {
        for (const ImportedTransaction& transaction : account.transactions) {
            if (texts.size() >= kDateGuessSampleSize) {
                return texts;
            }
            if (transaction.dateString) {
                texts.append(*transaction.dateString);
            }
        }
    }
    return texts;
}

std::optional<DateOrder> ImportOperation::guessDateOrder(const QStringList& dateTexts) const {
    if (m_choices.userSelectedDateFormat) {
        return m_choices.userSelectedDateFormat;
    }
    if (dateTexts.isEmpty()) {
        return std::nullopt;
    }
    const std::optional<DateOrder> guess = DateParser::guessDateOrder(dateTexts);
    if (m_choices.shouldAskForDateFormat) {
        throw dateFormatException(kAskForDateFormat, dateTexts.first(), guess);
    }
    if (!guess) {
        throw dateFormatException(kDateFormatCannotBeDetermined, dateTexts.first(), std::nullopt);
    }
    return guess;
}

model::Day ImportOperation::readDate(const std::optional<QString>& dateString,
                                     const std::optional<DateOrder>& dateOrder) const {
    const QString text = dateString.value_or(QString());
    if (!dateOrder) {
        // Only a file whose records carry no date texts at all gets here.
        throw dateFormatException(kDateFormatCannotBeDetermined, text, std::nullopt);
    }
    if (const std::optional<model::Day> day = DateParser::parseDate(text, *dateOrder)) {
        return *day;
    }
    const char* reason = m_choices.userSelectedDateFormat ? kParsingFailedWithSelectedDateFormat
                                                          : kParsingFailedWithDetectedDateFormat;
    throw dateFormatException(reason, text, dateOrder);
}

// ---- One transaction -------------------------------------------------------------------------

model::Transaction
ImportOperation::createTransactionFromDictionary(const ImportedTransaction& entry,
                                                 objectstore::Context& context,
                                                 const std::optional<DateOrder>& dateOrder) {
    const model::Day date = readDate(entry.dateString, dateOrder);
    if (!entry.amount.hasAtMostPlaces(2)) {
        // The store keeps cents; a finer amount would only fail later, at the save.
        throw ParseException(latin1(ParseException::kParse), QStringLiteral("Amount could not be parsed."));
    }
    model::Transaction transaction = model::Transaction::insertInContext(context, m_clock);
    transaction.setDate(date);
    transaction.setAmount(entry.amount);
    transaction.setNotes(entry.memo.value_or(QString()));
    transaction.setCheckNumber(entry.checkNumber);
    transaction.setTitle(entry.payee.value_or(QString()));
    setCategories(entry, transaction, context);
    if (isBlank(entry.payee)) {
        attemptToFillTitleFromSplits(entry.splits, transaction);
    }
    transaction.setFlagged(entry.isPending.value_or(false));
    return transaction;
}

void ImportOperation::setCategories(const ImportedTransaction& entry, model::Transaction& transaction,
                                    objectstore::Context& context) {
    if (entry.splits.size() <= 1) {
        // Readers always give one split; a record without any is taken as uncategorised.
        const std::optional<QString> name =
            entry.splits.empty() ? std::nullopt : entry.splits.front().category;
        transaction.setSingleCategory(categoryForName(name, context));
        return;
    }
    std::vector<model::PlainSplit> pairs;
    QString notes = transaction.notes();
    for (const ImportedSplit& split : entry.splits) {
        if (!split.amount.hasAtMostPlaces(2)) {
            throw ParseException(latin1(ParseException::kParse),
                                 QStringLiteral("Amount could not be parsed."));
        }
        pairs.push_back({categoryForName(split.category, context), split.amount});
        if (!isBlank(split.memo)) {
            notes = model::TextHelper::isBlank_vt(notes) ? *split.memo
                                                         : notes + QStringLiteral(" / ") + *split.memo;
        }
    }
    transaction.setMultipleCategoriesAndAmounts(pairs);
    // Split lines that do not add up to the record's amount would make the whole save fail; the
    // difference becomes an uncategorised line instead.
    transaction.fixSplitsIfNecessary();
    transaction.setNotes(notes);
}

void ImportOperation::attemptToFillTitleFromSplits(const std::vector<ImportedSplit>& splits,
                                                   model::Transaction& transaction) {
    if (const std::optional<QString> title = titleFromSplits(splits)) {
        transaction.setTitle(*title);
    }
}

std::optional<QString> ImportOperation::titleFromSplits(const std::vector<ImportedSplit>& splits) {
    if (splits.empty()) {
        return std::nullopt;
    }
    QStringList names;
    model::Amount sum;
    for (const ImportedSplit& split : splits) {
        const std::optional<QString> name = bracketedName(split.category);
        if (!name) {
            return std::nullopt;
        }
        if (!names.contains(*name)) {
            names.append(*name);
        }
        sum += split.amount;
    }
    if (names.size() > 1) {
        std::sort(names.begin(), names.end());
        return model::TextHelper::naturalList(names);
    }
    const QString& name = names.front();
    if (sum.isZero()) {
        return name;
    }
    return (sum < model::Amount() ? QStringLiteral("To %1") : QStringLiteral("From %1")).arg(name);
}

// ---- Accounts --------------------------------------------------------------------------------

bool ImportOperation::isOpeningBalanceTransaction(const ImportedTransaction& entry,
                                                  const model::Account& account) {
    return entry.splits.size() == 1 && entry.payee == latin1(kOpeningBalancePayee) &&
           entry.splits.front().category == QStringLiteral("[%1]").arg(account.name());
}

void ImportOperation::determineStartBalanceDateFor(model::Account& account) const {
    const std::optional<model::Day> earliest = account.dateOfEarliestTransaction();
    const model::Day reference = earliest ? *earliest : model::Day::today_VT(m_clock);
    account.setStartBalanceDate(reference.daysAgo_VT(1));
}

QString ImportOperation::lookupAccountType(const std::optional<QString>& qifType) {
    if (qifType == QStringLiteral("Cash")) {
        return QStringLiteral("cash");
    }
    if (qifType == QStringLiteral("Bank")) {
        return QStringLiteral("checking");
    }
    if (qifType == QStringLiteral("CCard")) {
        return QStringLiteral("credit_card");
    }
    return QStringLiteral("other");
}

// ---- Categories ------------------------------------------------------------------------------

objectstore::ManagedObject* ImportOperation::categoryForName(const std::optional<QString>& name,
                                                             objectstore::Context& context) {
    if (isBlank(name)) {
        return nullptr;
    }
    if (bracketedName(name)) {
        // A transfer: the other account is not looked at and no counterpart is made.
        return transferCategory(context);
    }
    // Exports repeat a few names thousands of times; only this run adds categories, and it
    // remembers those too, so one lookup per distinct text gives the same answers.
    if (const auto known = m_categoryByName.find(*name); known != m_categoryByName.end()) {
        return known->second;
    }
    objectstore::ManagedObject* category = nullptr;
    if (std::optional<model::CategoryVT> existing = model::CategoryVT::findByName(context, *name)) {
        category = existing->object();
    } else {
        model::CategoryVT created = model::CategoryVT::insertInContext(context);
        created.setName(*name);
        m_categoriesAdded.push_back(created.object());
        category = created.object();
    }
    m_categoryByName.emplace(*name, category);
    return category;
}

objectstore::ManagedObject* ImportOperation::transferCategory(objectstore::Context& context) {
    if (m_transferCategory != nullptr) {
        return m_transferCategory;
    }
    const std::size_t before = context.count(u"Category");
    // The notification about a new category is the screen's business, on its own thread.
    objectstore::ManagedObject* category = model::TransferSetting::defaultCategoryInContext(context).object();
    if (context.count(u"Category") != before) {
        m_categoriesAdded.push_back(category);
    }
    m_transferCategory = category;
    return category;
}

// ---- Abort, progress, results ----------------------------------------------------------------

void ImportOperation::throwIfAborted() const {
    if (m_choices.abortImport != nullptr && m_choices.abortImport->load()) {
        throw ParseException(latin1(ParseException::kAbort), QStringLiteral("The user aborted the import."));
    }
}

void ImportOperation::report(int value, int maximum, bool indeterminate, const QString& label) {
    m_progress = ImportProgress{value, maximum, indeterminate, label};
    if (m_choices.progress) {
        m_choices.progress(m_progress);
    }
}

void ImportOperation::reportValue(int value) {
    report(value, m_progress.maximum, m_progress.indeterminate, m_progress.label);
}

void ImportOperation::recordIds() {
    const auto ids = [](const std::vector<objectstore::ManagedObject*>& objects) {
        std::vector<objectstore::ObjectID> result;
        result.reserve(objects.size());
        for (const objectstore::ManagedObject* object : objects) {
            result.push_back(object->id());
        }
        return result;
    };
    m_idsOfTransactionsAdded = ids(m_transactionsAdded);
    m_idsOfAccountsAdded = ids(m_accountsAdded);
    m_idsOfCategoriesAdded = ids(m_categoriesAdded);
}

} // namespace vantrel::import
