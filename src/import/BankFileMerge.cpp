#include "import/BankFileMerge.h"

#include "import/BankRecordIndex.h"
#include "import/CategoryUsageIndex.h"
#include "import/DateParser.h"
#include "import/InstitutionFixup.h"
#include "import/OfxReader.h"
#include "import/ParseException.h"
#include "model/TextHelper.h"
#include "platform/InternalError.h"

#include <unordered_set>

namespace vantrel::import {

namespace {

bool hasText(const std::optional<QString>& text) {
    return text && !text->isEmpty();
}

[[noreturn]] void failParse(const QString& reason) {
    throw ParseException(ParseException::kParse, reason);
}

model::Day postedDay(const ImportedTransaction& record) {
    if (!record.dtPosted) {
        failParse(QStringLiteral("A transaction has no posting date (DTPOSTED)."));
    }
    const std::optional<model::Day> day = OfxReader::parseDate(*record.dtPosted);
    if (!day) {
        failParse(
            QStringLiteral("The posting date \"%1\" of a transaction is not a date.").arg(*record.dtPosted));
    }
    return *day;
}

model::Day dayInOrder(const ImportedTransaction& record, const std::optional<DateOrder>& order) {
    if (!record.dateString) {
        failParse(QStringLiteral("A transaction has no date."));
    }
    // The order is settled whenever a record has a date text; a text without three numbers fails
    // in the parser whatever the order, as no other order would help.
    const std::optional<model::Day> day =
        order ? DateParser::parseDate(*record.dateString, *order) : std::nullopt;
    if (!day) {
        throw ParseException(
            ParseException::kAmbiguousDate,
            QStringLiteral("The date \"%1\" could not be read in the date order %2.")
                .arg(*record.dateString, order ? order->text() : QStringLiteral("(none)")),
            {{QStringLiteral("sampleText"), *record.dateString}, {QStringLiteral("parseFailed"), QString()}});
    }
    return *day;
}

void fillName(ImportedTransaction& record) {
    if (hasText(record.name)) {
        return;
    }
    record.name = hasText(record.memo) ? *record.memo : QStringLiteral("Unknown");
}

// A check number that only repeats the transaction id, or is 0, is no check number.
void dropFalseCheckNumber(ImportedTransaction& record) {
    if (!record.checkNumber) {
        return;
    }
    if (*record.checkNumber == 0 || (record.fitID && QString::number(*record.checkNumber) == *record.fitID)) {
        record.checkNumber.reset();
    }
}

void copyBankFields(model::Transaction& transaction, const ImportedTransaction& record) {
    transaction.setOfxAmount(record.amount);
    transaction.setOfxCheckNumber(record.checkNumber);
    transaction.setOfxDate(record.date);
    transaction.setOfxFitID(hasText(record.fitID) ? *record.fitID : QString());
    transaction.setOfxTitle(*record.name);
}

void checkAmounts(const std::vector<ImportedTransaction>& records) {
    for (const ImportedTransaction& record : records) {
        if (!record.amount.hasAtMostPlaces(2)) {
            failParse(QStringLiteral("The amount %1 has more than two decimal places.")
                          .arg(record.amount.toString()));
        }
    }
}

// File order; a record whose bank id an earlier record of the file already brought is a
// duplicate too. Two records without id that look alike are both kept: the account held neither.
std::vector<const ImportedTransaction*> acceptNonDuplicates(const std::vector<ImportedTransaction>& records,
                                                            const BankRecordIndex& index,
                                                            ImportSummary& summary) {
    std::vector<const ImportedTransaction*> accepted;
    accepted.reserve(records.size());
    std::unordered_set<QString> acceptedFitIDs;
    for (const ImportedTransaction& record : records) {
        const bool repeatsFileID = hasText(record.fitID) && acceptedFitIDs.contains(*record.fitID);
        if (repeatsFileID || index.holdsRecord(record)) {
            ++summary.duplicate;
            continue;
        }
        if (hasText(record.fitID)) {
            acceptedFitIDs.insert(*record.fitID);
        }
        accepted.push_back(&record);
    }
    return accepted;
}

} // namespace

BankFileMerge::BankFileMerge(model::Account account, const platform::Clock& clock)
    : m_account(account)
    , m_clock(clock) {}

void BankFileMerge::preprocessActivityDictionary(AccountDictionary& dictionary) {
    const std::optional<std::int64_t> specialBank = m_account.specialBank();
    for (ImportedAccount& statement : dictionary.accounts) {
        const bool isOfx = dictionary.format == FileFormat::Ofx;
        const std::optional<DateOrder> order = isOfx ? std::nullopt : settleDateOrder(statement);
        const InstitutionFixup fixup(dictionary, statement);
        for (ImportedTransaction& record : statement.transactions) {
            record.date = isOfx ? postedDay(record) : dayInOrder(record, order);
            fillName(record);
            if (hasText(record.referenceNumber) && !hasText(record.fitID)) {
                record.fitID = record.referenceNumber;
            }
            dropFalseCheckNumber(record);
            if (specialBank) {
                // A chosen bank setting replaces the automatic fix-ups; 0 means "compare by
                // description, amount and date only".
                if (*specialBank == 0) {
                    record.fitID.reset();
                }
                continue;
            }
            fixup.apply(record);
        }
    }
}

std::optional<DateOrder> BankFileMerge::settleDateOrder(const ImportedAccount& statement) {
    std::optional<DateOrder> order = DateOrder::fromText(m_account.qifDateOrder());
    if (order || statement.transactions.empty()) {
        return order;
    }
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(statement.transactions.size()));
    for (const ImportedTransaction& record : statement.transactions) {
        if (record.dateString) {
            texts.append(*record.dateString);
        }
    }
    if (texts.isEmpty()) {
        return std::nullopt; // the first record then fails for its missing date
    }
    order = DateParser::guessDateOrder(texts);
    storeDateOrder(order);
    if (!order) {
        throw ParseException(ParseException::kAmbiguousDate,
                             QStringLiteral("The order of day, month and year could not be determined."),
                             {{QStringLiteral("sampleText"), texts.first()}});
    }
    return order;
}

void BankFileMerge::storeDateOrder(const std::optional<DateOrder>& order) {
    const QString text = order ? order->text() : QString();
    if (m_account.qifDateOrder() != text) {
        m_account.setQifDateOrder(text);
    }
}

ImportSummary BankFileMerge::importTransactions(AccountDictionary& dictionary) {
    if (dictionary.accounts.size() != 1) {
        throw platform::InternalError(
            QStringLiteral("A bank file is merged with exactly one statement, not %1")
                .arg(dictionary.accounts.size()));
    }
    preprocessActivityDictionary(dictionary);
    const ImportedAccount& statement = dictionary.accounts.front();
    checkAmounts(statement.transactions);

    ImportSummary summary;
    BankRecordIndex records(m_account);
    const std::vector<const ImportedTransaction*> accepted =
        acceptNonDuplicates(statement.transactions, records, summary);
    const std::optional<model::Amount> startBalance = openingBalance(dictionary.format, statement, accepted);

    // Nothing below fails on the file's content.
    if (startBalance) {
        m_account.setStartBalance(*startBalance);
    }
    std::optional<CategoryUsageIndex> categories;
    for (const ImportedTransaction* record : accepted) {
        if (std::optional<model::Transaction> pending =
                records.nearestPending(*record->date, record->amount)) {
            records.removePending(*pending);
            confirmPending(*pending, *record, categories);
            ++summary.matched;
        } else {
            createBankTransaction(*record, categories);
            ++summary.newCount;
        }
    }
    return summary;
}

std::optional<model::Amount>
BankFileMerge::openingBalance(FileFormat format, const ImportedAccount& statement,
                              const std::vector<const ImportedTransaction*>& accepted) const {
    if (format != FileFormat::Ofx || !statement.ledgerBalance || !m_account.transactions().empty()) {
        return std::nullopt;
    }
    // Over the records that will be imported: a record the file repeats must not count twice, or
    // the balance would miss the bank's by its amount.
    try {
        model::Amount total;
        for (const ImportedTransaction* record : accepted) {
            total += record->amount;
        }
        return *statement.ledgerBalance - total;
    } catch (const platform::InternalError&) {
        // Only an amount beyond 38 digits throws here.
        failParse(QStringLiteral("The amounts of the file are too large to add up."));
    }
}

void BankFileMerge::confirmPending(model::Transaction& pending, const ImportedTransaction& record,
                                   std::optional<CategoryUsageIndex>& categories) {
    copyBankFields(pending, record);
    pending.setCheckNumber(record.checkNumber);
    if (const QString title = pending.title(); model::TextHelper::isBlank_vt(title)) {
        const QString bankTitle = model::TextHelper::capitalizedWords(*record.name);
        pending.setTitle(bankTitle);
        if (categories) {
            categories->remove(pending.object(), title);
            categories->add(pending.object(), bankTitle);
        }
    }
    pending.setFlagged(false);
}

void BankFileMerge::createBankTransaction(const ImportedTransaction& record,
                                          std::optional<CategoryUsageIndex>& categories) {
    if (!categories) {
        categories.emplace(m_account.context());
    }
    const QString title = model::TextHelper::capitalizedWords(*record.name);
    // Filled in before it joins the account: every change to a member of the account moves it in
    // the account's register order again, which over thousands of records would dominate.
    model::Transaction transaction = model::Transaction::insertInContext(m_account.context(), m_clock);
    transaction.setDate(*record.date);
    transaction.setTitle(title);
    transaction.setAmount(record.amount);
    transaction.setCheckNumber(record.checkNumber);
    transaction.setSingleCategory(categories->mostUsedCategoryForName(title));
    copyBankFields(transaction, record);
    transaction.setImported(true);
    transaction.setFlagged(true);
    transaction.setAccount(m_account.object());
    categories->add(transaction.object(), title);
}

bool BankFileMerge::isDuplicateTransaction(const ImportedTransaction& entry) const {
    return BankRecordIndex(m_account).holdsRecord(entry);
}

std::optional<model::Transaction>
BankFileMerge::findTransactionToMerge(const ImportedTransaction& entry) const {
    if (!entry.date) {
        throw platform::InternalError("A record is matched only once it has its date");
    }
    return findTransactionToMergeDate(*entry.date, entry.amount);
}

std::optional<model::Transaction>
BankFileMerge::findTransactionToMergeDate(const model::Day& date, const model::Amount& amount) const {
    return BankRecordIndex(m_account).nearestPending(date, amount);
}

} // namespace vantrel::import
