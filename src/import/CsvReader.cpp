#include "import/CsvReader.h"

#include "import/AmountParser.h"
#include "import/DateParser.h"
#include "import/ParseException.h"
#include "model/TextHelper.h"

#include <algorithm>

namespace vantrel::import {
namespace {

[[noreturn]] void fail(const char* reason, const std::optional<QString>& offendingText = std::nullopt) {
    QVariantMap details;
    if (offendingText) {
        details.insert(QStringLiteral("string"), *offendingText);
    }
    throw ParseException(ParseException::kCsvParse, QString::fromLatin1(reason), details);
}

// The mapped column's text; nothing when the field is not mapped. A mapped column the row does not
// have means the mapping does not belong to these rows.
std::optional<QString> stringValueAtColumn(const QStringList& row, const CsvSettings& settings,
                                           CsvField field) {
    const std::optional<int> column = settings.columnOf(field);
    if (!column) {
        return std::nullopt;
    }
    if (*column < 0 || *column >= row.size()) {
        fail(CsvReader::kUnknownReason);
    }
    return row.at(*column);
}

// A field the amount layout or the date cannot do without.
QString requiredValue(const QStringList& row, const CsvSettings& settings, CsvField field) {
    std::optional<QString> value = stringValueAtColumn(row, settings, field);
    if (!value) {
        fail(CsvReader::kUnknownReason);
    }
    return std::move(*value);
}

QString dateStringFromRow(const QStringList& row, const CsvSettings& settings) {
    QString text = requiredValue(row, settings, CsvField::Date);
    if (!DateParser::looksLikeDateString(text)) {
        fail(CsvReader::kInvalidDateFormat, text);
    }
    return text;
}

model::Amount checkedAmount(const QString& amountText, const QString& textToRead) {
    if (!CsvReader::looksLikeAmountString(amountText)) {
        fail(CsvReader::kInvalidAmountFormat, amountText);
    }
    try {
        return AmountParser::readAmount(textToRead);
    } catch (const ParseException&) {
        fail(CsvReader::kInvalidAmountFormat, amountText);
    }
}

model::Amount amountFromRow(const QStringList& row, const CsvSettings& settings) {
    if (settings.separateDepositWithdrawal) {
        const QString withdrawal = requiredValue(row, settings, CsvField::Withdrawal);
        const QString deposit = requiredValue(row, settings, CsvField::Deposit);
        if (model::TextHelper::isPresent_vt(withdrawal)) {
            // The column already says the money left: a withdrawal the bank wrote as negative or
            // in parentheses is still one withdrawal, not a double negation.
            return -checkedAmount(QStringLiteral("-") + withdrawal, withdrawal).absolute_vt();
        }
        return checkedAmount(deposit, deposit);
    }
    QString amountText = requiredValue(row, settings, CsvField::Amount);
    if (settings.separateAmountSign) {
        amountText.prepend(requiredValue(row, settings, CsvField::AmountSign));
    }
    return checkedAmount(amountText, amountText);
}

// Digits only, after trimming; anything else (or a number too large) is no check number.
std::optional<std::int64_t> checkNumberFrom(const std::optional<QString>& text) {
    if (!text) {
        return std::nullopt;
    }
    const QString trimmed = text->trimmed();
    if (trimmed.isEmpty() ||
        !std::all_of(trimmed.cbegin(), trimmed.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; })) {
        return std::nullopt;
    }
    bool ok = false;
    const qlonglong number = trimmed.toLongLong(&ok);
    return ok ? std::optional<std::int64_t>(number) : std::nullopt;
}

template <typename RowReader>
std::vector<ImportedTransaction> readEachRow(const CsvRows& rows, const CsvSettings& settings,
                                             RowReader readRow) {
    std::vector<ImportedTransaction> transactions;
    const std::size_t first = settings.hasHeader ? 1 : 0;
    if (rows.size() > first) {
        transactions.reserve(rows.size() - first);
    }
    for (std::size_t i = first; i < rows.size(); ++i) {
        transactions.push_back(readRow(rows[i]));
    }
    return transactions;
}

} // namespace

AccountDictionary CsvReader::readRows(const CsvRows& rows, const CsvSettings& settings) {
    ImportedAccount account;
    account.transactions = readEachRow(rows, settings, [&settings](const QStringList& row) {
        ImportedTransaction transaction;
        transaction.dateString = dateStringFromRow(row, settings);
        transaction.amount = amountFromRow(row, settings);
        transaction.name = stringValueAtColumn(row, settings, CsvField::Payee);
        return transaction;
    });
    AccountDictionary dictionary;
    dictionary.format = FileFormat::Csv;
    dictionary.accounts.push_back(std::move(account));
    return dictionary;
}

ImportedAccount CsvReader::accountDictionaryFromRows(const CsvRows& rows, const CsvSettings& settings) {
    ImportedAccount account;
    account.transactions = readEachRow(rows, settings, [&settings](const QStringList& row) {
        ImportedTransaction transaction;
        transaction.dateString = dateStringFromRow(row, settings);
        transaction.amount = amountFromRow(row, settings);
        transaction.payee = stringValueAtColumn(row, settings, CsvField::Payee);
        transaction.memo = stringValueAtColumn(row, settings, CsvField::Memo);
        transaction.checkNumber = checkNumberFrom(stringValueAtColumn(row, settings, CsvField::CheckNumber));
        transaction.isPending = false;
        ImportedSplit split;
        split.category = stringValueAtColumn(row, settings, CsvField::Category).value_or(QString());
        split.amount = transaction.amount;
        transaction.splits.push_back(std::move(split));
        return transaction;
    });
    return account;
}

bool CsvReader::looksLikeAmountString(const QString& text) {
    bool hasDigit = false;
    for (const QChar c : text) {
        if ((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'/') {
            return false;
        }
        hasDigit = hasDigit || c.isDigit();
    }
    return hasDigit;
}

} // namespace vantrel::import
