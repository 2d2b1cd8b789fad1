#pragma once

#include <QString>

#include <map>
#include <optional>
#include <vector>

namespace vantrel::import {

// The fields a CSV column can hold.
enum class CsvField { Date, Payee, Amount, AmountSign, Deposit, Withdrawal, Category, Memo, CheckNumber };

// Which column holds which field, and how amounts are laid out. Stored on the account as JSON
// text with the keys "CSVColumnMappingKey" (field key -> column index), "CSVHasHeaderKey",
// "CSVSeparateDepositWithdrawalKey" and "CSVSeparateAmountSignKey"; the field keys are
// "CSVDateKey", "CSVPayeeKey", "CSVAmountKey", "CSVAmountSignKey", "CSVDepositKey",
// "CSVWithdrawal" (sic: stored files use it), "CSVCategoryKey", "CSVMemoKey" and
// "CSVCheckNumberKey".
struct CsvSettings {
    std::map<CsvField, int> columnMapping; // each column holds at most one field
    bool hasHeader = false;
    bool separateDepositWithdrawal = false;
    bool separateAmountSign = false;

    static QString keyFor(CsvField field);
    static std::optional<CsvField> fieldForKey(const QString& key);
    // "Date", "Payee", "Amount", "Amount Sign", "Deposit", "Withdrawal", "Category", "Notes",
    // "Check Number".
    static QString titleFor(CsvField field);
    // Every field, in menu order.
    static const std::vector<CsvField>& allFields();

    std::optional<int> columnOf(CsvField field) const;

    QString toJson() const;
    // Nothing for text that is not a settings object as toJson writes it: missing or extra keys,
    // wrong value types, unknown field keys, a negative or fractional column, two fields in one
    // column, or both amount layouts at once (an unreadable stored value is forgotten rather than
    // trusted).
    static std::optional<CsvSettings> fromJson(const QString& json);

    friend bool operator==(const CsvSettings&, const CsvSettings&) = default;
};

} // namespace vantrel::import
