#include "import/QifReader.h"

#include "import/AmountParser.h"
#include "import/ParseException.h"
#include "import/QifRecordScanner.h"
#include "import/TextFileReader.h"
#include "platform/InternalError.h"

#include <algorithm>
#include <array>
#include <limits>
#include <utility>

namespace vantrel::import {

namespace {

using Scanner = QifRecordScanner;

constexpr std::array<QStringView, 5> kAccountTypes{u"Bank", u"Cash", u"CCard", u"Oth A", u"Oth L"};

// The type a "!Type:" header line names, when it is one of the account types read here.
std::optional<QString> recognisedType(QStringView line) {
    constexpr QStringView kPrefix = u"!Type:";
    if (!line.startsWith(kPrefix)) {
        return std::nullopt;
    }
    const QStringView rest = line.sliced(kPrefix.size());
    for (QStringView type : kAccountTypes) {
        if (Scanner::isWordLine(rest, type)) {
            return type.toString();
        }
    }
    return std::nullopt;
}

bool isAccountHeader(QStringView line) {
    return Scanner::isWordLine(line, u"!Account");
}

// The value of an all-digits text; none for other texts and for numbers beyond 64 bits, which
// are no check numbers anyone writes.
std::optional<std::int64_t> digitsValue(const std::optional<QString>& text) {
    if (!text || text->isEmpty()) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    for (QChar c : *text) {
        if (!c.isDigit()) {
            return std::nullopt;
        }
        const int digit = c.digitValue();
        if (value > (std::numeric_limits<std::int64_t>::max() - digit) / 10) {
            return std::nullopt;
        }
        value = value * 10 + digit;
    }
    return value;
}

std::optional<QString> collapsed(std::optional<QString> text) {
    if (text) {
        text = QifReader::processName(*text);
    }
    return text;
}

void setCheckNumberAndPendingFlag(ImportedTransaction& transaction, QStringView record) {
    transaction.checkNumber = digitsValue(Scanner::field(u'N', record));
    const std::optional<QString> cleared = Scanner::field(u'C', record);
    const bool marksCleared =
        cleared && cleared->size() == 1 && QStringView(u"*cXR").contains(cleared->front());
    transaction.isPending = !marksCleared;
    if (!transaction.checkNumber) {
        transaction.checkNumber = digitsValue(cleared);
    }
}

void writeSplits(ImportedTransaction& transaction, QStringView record) {
    const std::vector<QifSplitGroup> groups = Scanner::splitGroups(record);
    // One S/$ group is no split at all: the record's L line is its category.
    if (groups.size() < 2) {
        transaction.splits = {ImportedSplit{Scanner::field(u'L', record), transaction.amount, std::nullopt}};
        return;
    }
    transaction.splits.clear();
    transaction.splits.reserve(groups.size());
    for (const QifSplitGroup& group : groups) {
        transaction.splits.push_back(
            ImportedSplit{group.category, AmountParser::readAmount(group.amount), group.memo});
    }
}

ImportedTransaction bankTransaction(QStringView record) {
    ImportedTransaction transaction;
    transaction.dateString = Scanner::field(u'D', record);
    if (!transaction.dateString) {
        throw ParseException(ParseException::kParse, QStringLiteral("Missing date in record."));
    }
    transaction.amount = AmountParser::readAmount(Scanner::field(u'T', record));
    transaction.name = collapsed(Scanner::field(u'P', record));
    transaction.memo = collapsed(Scanner::field(u'M', record));
    setCheckNumberAndPendingFlag(transaction, record);
    return transaction;
}

ImportedTransaction programTransaction(QStringView record) {
    ImportedTransaction transaction;
    transaction.dateString = Scanner::field(u'D', record);
    transaction.payee = Scanner::field(u'P', record);
    transaction.amount = AmountParser::readAmount(Scanner::field(u'T', record));
    transaction.memo = Scanner::field(u'M', record);
    setCheckNumberAndPendingFlag(transaction, record);
    writeSplits(transaction, record);
    return transaction;
}

std::vector<ImportedTransaction> programTransactions(QStringView text) {
    const std::vector<QStringView> records = Scanner::records(text);
    std::vector<ImportedTransaction> transactions;
    transactions.reserve(records.size());
    for (QStringView record : records) {
        transactions.push_back(programTransaction(record));
    }
    return transactions;
}

// An "!Account" line, one or more lines that do not start with "!" (the account record; blank
// lines included), then directly a recognised "!Type:" line.
struct AccountBlock {
    qsizetype start = 0;    // the "!Account" line
    qsizetype typeLine = 0; // the "!Type:" line
    qsizetype end = 0;      // where the line after the "!Type:" line starts
    QString type;
};

// Each line is looked at once: a failed candidate's record run ends at a "!" line, which is
// where the next candidate can start at the earliest.
std::optional<AccountBlock> findAccountBlock(QStringView text, qsizetype from) {
    qsizetype at = from;
    while (at < text.size()) {
        const QifLine line = Scanner::lineAt(text, at);
        if (!isAccountHeader(line.content)) {
            at = line.next;
            continue;
        }
        qsizetype runLines = 0;
        qsizetype next = line.next;
        while (next < text.size()) {
            const QifLine runLine = Scanner::lineAt(text, next);
            if (runLine.content.startsWith(u'!')) {
                break;
            }
            ++runLines;
            next = runLine.next;
        }
        if (runLines > 0 && next < text.size()) {
            const QifLine header = Scanner::lineAt(text, next);
            if (std::optional<QString> type = recognisedType(header.content)) {
                return AccountBlock{line.start, header.start, header.next, std::move(*type)};
            }
        }
        at = next;
    }
    return std::nullopt;
}

ImportedAccount accountOfBlock(QStringView text, const AccountBlock& block) {
    const QStringView blockText = text.sliced(block.start, block.end - block.start);
    const std::vector<QStringView> records = Scanner::records(blockText);
    if (records.size() != 1) {
        throw ParseException(ParseException::kQifParseError,
                             QStringLiteral("Expected %1 records, but got %2:\n%3")
                                 .arg(1)
                                 .arg(static_cast<qulonglong>(records.size()))
                                 .arg(blockText.toString()));
    }
    const QStringView record = records.front();
    ImportedAccount account;
    account.name = Scanner::field(u'N', record);
    account.type = Scanner::field(u'T', record);
    if (std::optional<QString> balance = Scanner::field(u'B', record)) {
        account.balance = AmountParser::readAmount(balance);
    }
    return account;
}

void requireTransactionsOnly(const QString& text, bool expected, const char* operation) {
    if (QifReader::stringContainsOnlyTransactions(text) != expected) {
        throw platform::InternalError(QStringLiteral("QifReader::%1 called for a file %2 account blocks")
                                          .arg(QLatin1String(operation), expected
                                                                             ? QStringLiteral("with")
                                                                             : QStringLiteral("without")));
    }
}

} // namespace

AccountDictionary QifReader::parseFileForTransactions(const QString& path) {
    // Bank files go through the Latin-1 fallback too: with detection alone, a file the detector
    // is unsure about would read as empty and import nothing without a word.
    return parseForTransactions(TextFileReader::readWithFallback(path));
}

AccountDictionary QifReader::parseForTransactions(QStringView text) {
    const std::vector<QStringView> records = Scanner::records(text);
    ImportedAccount account;
    account.transactions.reserve(records.size());
    for (QStringView record : records) {
        account.transactions.push_back(bankTransaction(record));
    }
    AccountDictionary result;
    result.format = FileFormat::Qif;
    result.accounts.push_back(std::move(account));
    return result;
}

bool QifReader::fileContainsOnlyTransactions(const QString& path) {
    return stringContainsOnlyTransactions(TextFileReader::readWithFallback(path));
}

bool QifReader::stringContainsOnlyTransactions(QStringView text) {
    for (qsizetype at = 0; at < text.size();) {
        const QifLine line = Scanner::lineAt(text, at);
        if (isAccountHeader(line.content)) {
            return false;
        }
        at = line.next;
    }
    return true;
}

std::vector<ImportedAccount> QifReader::parseAccountsFileFromApp(const QString& path) {
    const QString text = TextFileReader::readWithFallback(path);
    requireTransactionsOnly(text, false, "parseAccountsFileFromApp");
    return parse(text);
}

std::vector<ImportedAccount> QifReader::parse(QStringView text) {
    std::vector<ImportedAccount> accounts;
    qsizetype at = 0;
    // Anything before a block (an account list under another header, an investment account's
    // block and transactions) is passed over.
    while (std::optional<AccountBlock> block = findAccountBlock(text, at)) {
        ImportedAccount account = accountOfBlock(text, *block);
        const qsizetype transactionsEnd = Scanner::nextHeaderLine(text, block->end);
        account.transactions = programTransactions(text.sliced(block->end, transactionsEnd - block->end));
        accounts.push_back(std::move(account));
        at = transactionsEnd;
    }
    return accounts;
}

ImportedAccount QifReader::parseTransactionsOnlyFileFromApp(const QString& path) {
    const QString text = TextFileReader::readWithFallback(path);
    requireTransactionsOnly(text, true, "parseTransactionsOnlyFileFromApp");
    return parseTransactionsOnlyStringFromApp(text);
}

ImportedAccount QifReader::parseTransactionsOnlyStringFromApp(QStringView text) {
    qsizetype at = 0;
    while (at < text.size()) {
        const QifLine line = Scanner::lineAt(text, at);
        if (!Scanner::isBlank(line.content)) {
            break;
        }
        at = line.next;
    }
    std::optional<QString> type;
    qsizetype recordsStart = at;
    if (at < text.size()) {
        const QifLine header = Scanner::lineAt(text, at);
        type = recognisedType(header.content);
        recordsStart = header.next;
    }
    if (!type) {
        throw ParseException(ParseException::kQifParseError, QStringLiteral("Header line not found"));
    }
    ImportedAccount account;
    account.type = std::move(type);
    account.transactions = programTransactions(text.sliced(recordsStart));
    return account;
}

QString QifReader::processName(QStringView text) {
    QString result;
    result.reserve(text.size());
    bool inWhiteSpace = false;
    for (QChar c : text) {
        if (Scanner::isWhiteSpace(c)) {
            if (!inWhiteSpace) {
                result.append(u' ');
            }
            inWhiteSpace = true;
            continue;
        }
        result.append(c);
        inWhiteSpace = false;
    }
    return result;
}

} // namespace vantrel::import
