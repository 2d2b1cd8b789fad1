#include "import/CsvSettings.h"

#include "platform/InternalError.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include <array>
#include <cmath>
#include <limits>
#include <set>

namespace vantrel::import {
namespace {

const QString kMappingKey = QStringLiteral("CSVColumnMappingKey");
const QString kHasHeaderKey = QStringLiteral("CSVHasHeaderKey");
const QString kSeparateDepositWithdrawalKey = QStringLiteral("CSVSeparateDepositWithdrawalKey");
const QString kSeparateAmountSignKey = QStringLiteral("CSVSeparateAmountSignKey");

struct FieldNames {
    CsvField field;
    const char* key;
    const char* title;
};

// Menu order.
constexpr std::array kFieldNames{
    FieldNames{CsvField::Date, "CSVDateKey", "Date"},
    FieldNames{CsvField::Payee, "CSVPayeeKey", "Payee"},
    FieldNames{CsvField::Amount, "CSVAmountKey", "Amount"},
    FieldNames{CsvField::AmountSign, "CSVAmountSignKey", "Amount Sign"},
    FieldNames{CsvField::Deposit, "CSVDepositKey", "Deposit"},
    FieldNames{CsvField::Withdrawal, "CSVWithdrawal", "Withdrawal"},
    FieldNames{CsvField::Category, "CSVCategoryKey", "Category"},
    FieldNames{CsvField::Memo, "CSVMemoKey", "Notes"},
    FieldNames{CsvField::CheckNumber, "CSVCheckNumberKey", "Check Number"},
};

const FieldNames& namesOf(CsvField field) {
    for (const FieldNames& names : kFieldNames) {
        if (names.field == field) {
            return names;
        }
    }
    throw platform::InternalError("CsvSettings: unknown field");
}

// A JSON number that is a whole, non-negative column index.
std::optional<int> columnIndex(const QJsonValue& value) {
    if (!value.isDouble()) {
        return std::nullopt;
    }
    const double number = value.toDouble();
    if (!std::isfinite(number) || number < 0 || number > std::numeric_limits<int>::max() ||
        std::floor(number) != number) {
        return std::nullopt;
    }
    return static_cast<int>(number);
}

std::optional<std::map<CsvField, int>> mappingFrom(const QJsonValue& value) {
    if (!value.isObject()) {
        return std::nullopt;
    }
    std::map<CsvField, int> mapping;
    std::set<int> columns;
    const QJsonObject object = value.toObject();
    for (auto it = object.begin(); it != object.end(); ++it) {
        const std::optional<CsvField> field = CsvSettings::fieldForKey(it.key());
        const std::optional<int> column = columnIndex(it.value());
        if (!field || !column || !columns.insert(*column).second) {
            return std::nullopt;
        }
        mapping.emplace(*field, *column);
    }
    return mapping;
}

} // namespace

QString CsvSettings::keyFor(CsvField field) {
    return QString::fromLatin1(namesOf(field).key);
}

std::optional<CsvField> CsvSettings::fieldForKey(const QString& key) {
    for (const FieldNames& names : kFieldNames) {
        if (key == QLatin1String(names.key)) {
            return names.field;
        }
    }
    return std::nullopt;
}

QString CsvSettings::titleFor(CsvField field) {
    return QString::fromLatin1(namesOf(field).title);
}

const std::vector<CsvField>& CsvSettings::allFields() {
    static const std::vector<CsvField> fields = [] {
        std::vector<CsvField> all;
        for (const FieldNames& names : kFieldNames) {
            all.push_back(names.field);
        }
        return all;
    }();
    return fields;
}

std::optional<int> CsvSettings::columnOf(CsvField field) const {
    const auto found = columnMapping.find(field);
    if (found == columnMapping.end()) {
        return std::nullopt;
    }
    return found->second;
}

QString CsvSettings::toJson() const {
    QJsonObject mapping;
    for (const auto& [field, column] : columnMapping) {
        mapping.insert(keyFor(field), column);
    }
    const QJsonObject object{
        {kMappingKey, mapping},
        {kHasHeaderKey, hasHeader},
        {kSeparateDepositWithdrawalKey, separateDepositWithdrawal},
        {kSeparateAmountSignKey, separateAmountSign},
    };
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

std::optional<CsvSettings> CsvSettings::fromJson(const QString& json) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(json.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        return std::nullopt;
    }
    const QJsonObject object = document.object();
    // Exactly the four keys this class writes: anything else was not written by us.
    if (object.size() != 4) {
        return std::nullopt;
    }
    const QJsonValue hasHeader = object.value(kHasHeaderKey);
    const QJsonValue separateDepositWithdrawal = object.value(kSeparateDepositWithdrawalKey);
    const QJsonValue separateAmountSign = object.value(kSeparateAmountSignKey);
    std::optional<std::map<CsvField, int>> mapping = mappingFrom(object.value(kMappingKey));
    if (!mapping || !hasHeader.isBool() || !separateDepositWithdrawal.isBool() ||
        !separateAmountSign.isBool()) {
        return std::nullopt;
    }
    // The sheet's two amount boxes exclude each other.
    if (separateDepositWithdrawal.toBool() && separateAmountSign.toBool()) {
        return std::nullopt;
    }
    CsvSettings settings;
    settings.columnMapping = std::move(*mapping);
    settings.hasHeader = hasHeader.toBool();
    settings.separateDepositWithdrawal = separateDepositWithdrawal.toBool();
    settings.separateAmountSign = separateAmountSign.toBool();
    return settings;
}

} // namespace vantrel::import
