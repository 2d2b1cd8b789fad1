#include "import/OfxReader.h"

#include "import/OfxElementSearch.h"
#include "import/ParseException.h"
#include "import/TextFileReader.h"

#include <limits>

namespace vantrel::import {
namespace {

using Search = OfxElementSearch;

const QStringList& statementTags() {
    static const QStringList tags{QStringLiteral("STMTRS"), QStringLiteral("CCSTMTRS")};
    return tags;
}

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

bool isPlainDecimalText(QStringView text) {
    qsizetype i = 0;
    if (!text.isEmpty() && (text[0] == u'-' || text[0] == u'+')) {
        ++i;
    }
    bool sawDigit = false;
    bool sawPoint = false;
    for (; i < text.size(); ++i) {
        if (isAsciiDigit(text[i])) {
            sawDigit = true;
        } else if (text[i] == u'.' && !sawPoint) {
            sawPoint = true;
        } else {
            return false;
        }
    }
    return sawDigit;
}

// TRNAMT and BALAMT: optional sign, digits, "." as the decimal point. Anything else (a comma
// decimal, an exponent, a currency sign) and any value with more digits than an Amount holds is
// refused here, so a misread amount can never reach the store.
model::Amount readDecimal(QStringView text) {
    std::optional<model::Amount> amount;
    if (isPlainDecimalText(text)) {
        amount = model::Amount::withString_vt(text);
    }
    if (!amount) {
        throw ParseException(ParseException::kParse, QStringLiteral("Amount could not be parsed."));
    }
    return *amount;
}

// All ASCII digits; a number too large for a check number is treated like a non-numeric one.
std::optional<std::int64_t> readCheckNumber(QStringView text) {
    if (text.isEmpty()) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    for (QChar c : text) {
        if (!isAsciiDigit(c)) {
            return std::nullopt;
        }
        const int digit = c.unicode() - u'0';
        if (value > (std::numeric_limits<std::int64_t>::max() - digit) / 10) {
            return std::nullopt;
        }
        value = value * 10 + digit;
    }
    return value;
}

std::optional<QString> optionalText(QStringView tag, QStringView text) {
    if (const std::optional<QStringView> content = Search::optionalElement(tag, text)) {
        return content->toString();
    }
    return std::nullopt;
}

std::optional<QString> optionalName(QStringView tag, QStringView text) {
    if (const std::optional<QStringView> content = Search::optionalElement(tag, text)) {
        return OfxReader::processName(*content);
    }
    return std::nullopt;
}

// Aggregates always carry their closing tag, in SGML as in XML. One that lacks it would end at the
// next "<" and come out empty, silently dropping a statement, a transaction list or a record;
// a truncated file is the usual cause. Refuse the file instead of importing a part of it.
[[noreturn]] void throwUnclosed(QStringView tag) {
    throw ParseException(ParseException::kParse,
                         QStringLiteral("Missing closing tag </%1>; the file may be incomplete.").arg(tag));
}

std::vector<QStringView> closedAggregates(QStringView tag, QStringView text) {
    std::vector<QStringView> contents;
    for (const Search::Occurrence& occurrence : Search::occurrences(tag, text)) {
        if (!occurrence.closed) {
            throwUnclosed(tag);
        }
        if (!occurrence.content.isEmpty()) {
            contents.push_back(occurrence.content);
        }
    }
    return contents;
}

ImportedTransaction readTransaction(QStringView text) {
    ImportedTransaction entry;
    entry.dtPosted = Search::element(u"DTPOSTED", text).toString();
    entry.amount = readDecimal(Search::element(u"TRNAMT", text));
    entry.name = optionalName(u"NAME", text);
    entry.memo = optionalName(u"MEMO", text);
    if (const std::optional<QStringView> checkNumber = Search::optionalElement(u"CHECKNUM", text)) {
        entry.checkNumber = readCheckNumber(*checkNumber);
    }
    entry.fitID = optionalText(u"FITID", text);
    entry.referenceNumber = optionalText(u"REFNUM", text);
    entry.transactionType = optionalText(u"TRNTYPE", text);
    return entry;
}

void readTransactionList(QStringView text, ImportedAccount& account) {
    account.startDate = OfxReader::parseDate(Search::element(u"DTSTART", text));
    account.endDate = OfxReader::parseDate(Search::element(u"DTEND", text));
    std::vector<ImportedTransaction> transactions;
    for (QStringView record : closedAggregates(u"STMTTRN", text)) {
        transactions.push_back(readTransaction(record));
    }
    account.transactions = std::move(transactions);
}

ImportedAccount readStatement(const Search::Statement& statement) {
    const QStringView text = statement.content;
    ImportedAccount account;
    account.aggregateType =
        statement.tag == statementTags().front() ? AggregateType::Bank : AggregateType::CreditCard;
    account.acctID = Search::element(u"ACCTID", text).toString();
    account.currency = optionalText(u"CURDEF", text);
    account.bankID = optionalText(u"BANKID", text);
    account.acctType = optionalText(u"ACCTTYPE", text);
    // A later list replaces the records of an earlier one.
    for (QStringView list : closedAggregates(u"BANKTRANLIST", text)) {
        readTransactionList(list, account);
    }
    const QStringView ledger = Search::element(u"LEDGERBAL", text);
    account.ledgerBalance = readDecimal(Search::element(u"BALAMT", ledger));
    account.ledgerBalanceDate = OfxReader::parseDate(Search::element(u"DTASOF", ledger));
    for (QStringView available : Search::elements(u"AVAILBAL", text)) {
        account.availableBalance = readDecimal(Search::element(u"BALAMT", available));
        account.availableBalanceDate = OfxReader::parseDate(Search::element(u"DTASOF", available));
    }
    return account;
}

} // namespace

AccountDictionary OfxReader::readFileForTransactions(const QString& path) {
    return readTransactions(TextFileReader::readWithFallback(path));
}

AccountDictionary OfxReader::readTransactions(QStringView text) {
    AccountDictionary dictionary;
    dictionary.format = FileFormat::Ofx;
    dictionary.language = optionalText(u"LANGUAGE", text);
    // An unclosed FI (or AVAILBAL below) comes out empty and is passed over, as the element search
    // defines: neither carries records or amounts.
    for (QStringView institution : Search::elements(u"FI", text)) {
        dictionary.fiOrg = Search::element(u"ORG", institution).toString();
        dictionary.fiFid = Search::element(u"FID", institution).toString();
    }
    for (const Search::Statement& statement : Search::statementOccurrences(statementTags(), text)) {
        if (!statement.closed) {
            throwUnclosed(statement.tag);
        }
        if (!statement.content.isEmpty()) {
            dictionary.accounts.push_back(readStatement(statement));
        }
    }
    return dictionary;
}

std::optional<model::Day> OfxReader::parseDate(QStringView text) {
    constexpr qsizetype kDigits = 8;
    if (text.size() < kDigits) {
        return std::nullopt;
    }
    int value[kDigits];
    for (qsizetype i = 0; i < kDigits; ++i) {
        if (!isAsciiDigit(text[i])) {
            return std::nullopt;
        }
        value[i] = text[i].unicode() - u'0';
    }
    const int year = value[0] * 1000 + value[1] * 100 + value[2] * 10 + value[3];
    const int month = value[4] * 10 + value[5];
    const int day = value[6] * 10 + value[7];
    // Year 0 does not exist in the calendar the files are written in.
    if (year == 0) {
        return std::nullopt;
    }
    return model::Day::fromCivil(year, month, day);
}

QString OfxReader::processName(QStringView text) {
    // One pass for the white space, one for the ampersands; both linear, no backtracking.
    QString spaced;
    spaced.reserve(text.size());
    bool inSpace = false;
    for (QChar c : text) {
        if (c.isSpace()) {
            if (!inSpace) {
                spaced.append(u' ');
            }
            inSpace = true;
            continue;
        }
        inSpace = false;
        spaced.append(c);
    }
    static const QString kEscape = QStringLiteral("amp;");
    QString cleaned;
    cleaned.reserve(spaced.size());
    const QStringView view(spaced);
    for (qsizetype i = 0; i < view.size();) {
        cleaned.append(view[i]);
        if (view[i] != u'&') {
            ++i;
            continue;
        }
        ++i;
        while (view.sliced(i).startsWith(kEscape, Qt::CaseInsensitive)) {
            i += kEscape.size();
        }
    }
    return cleaned;
}

} // namespace vantrel::import
