#include "cli/CsvMapOption.h"

#include "cli/CommandLine.h"
#include "cli/UserError.h"

#include <QStringList>

#include <array>
#include <set>
#include <utility>

namespace vantrel::cli {

namespace {

using import::CsvField;

constexpr std::array<std::pair<CsvField, const char*>, 9> kNames{{
    {CsvField::Date, "date"},
    {CsvField::Payee, "payee"},
    {CsvField::Amount, "amount"},
    {CsvField::AmountSign, "sign"},
    {CsvField::Deposit, "deposit"},
    {CsvField::Withdrawal, "withdrawal"},
    {CsvField::Category, "category"},
    {CsvField::Memo, "notes"},
    {CsvField::CheckNumber, "check"},
}};

// Columns on the command line count from 1, as a spreadsheet shows them; stored settings from 0.
int storedColumn(const QString& text, const QString& entry) {
    bool ok = false;
    const int column = text.trimmed().toInt(&ok);
    if (!ok || column < 1) {
        throw UserError(QStringLiteral("--csv-map: the column of '%1' must be a number from 1").arg(entry));
    }
    return column - 1;
}

} // namespace

std::optional<CsvField> CsvMapOption::fieldForName(const QString& name) {
    for (const auto& [field, text] : kNames) {
        if (name.compare(QLatin1String(text), Qt::CaseInsensitive) == 0) {
            return field;
        }
    }
    return std::nullopt;
}

QString CsvMapOption::nameFor(CsvField field) {
    for (const auto& [candidate, text] : kNames) {
        if (candidate == field) {
            return QString::fromLatin1(text);
        }
    }
    return {};
}

std::optional<import::CsvSettings> CsvMapOption::fromCommandLine(const CommandLine& line) {
    const std::optional<QString> map = line.value(QStringLiteral("csv-map"));
    const bool header = line.has(QStringLiteral("header"));
    const bool sign = line.has(QStringLiteral("sign-column"));
    const bool depositWithdrawal = line.has(QStringLiteral("deposit-withdrawal"));
    if (!map) {
        if (header || sign || depositWithdrawal) {
            throw UserError(QStringLiteral(
                "--header, --sign-column and --deposit-withdrawal describe a --csv-map; give the map too"));
        }
        return std::nullopt;
    }
    if (sign && depositWithdrawal) {
        throw UserError(QStringLiteral("--sign-column and --deposit-withdrawal exclude each other"));
    }
    import::CsvSettings settings;
    settings.hasHeader = header;
    settings.separateAmountSign = sign;
    settings.separateDepositWithdrawal = depositWithdrawal;
    std::set<int> columns;
    for (const QString& entry : map->split(u',', Qt::SkipEmptyParts)) {
        const qsizetype equals = entry.indexOf(u'=');
        if (equals < 0) {
            throw UserError(QStringLiteral("--csv-map: '%1' is not FIELD=COLUMN").arg(entry));
        }
        const QString name = entry.left(equals).trimmed();
        const std::optional<CsvField> field = fieldForName(name);
        if (!field) {
            throw UserError(
                QStringLiteral("--csv-map: unknown field '%1' (date, payee, amount, sign, deposit, "
                               "withdrawal, category, notes, check)")
                    .arg(name));
        }
        const int column = storedColumn(entry.mid(equals + 1), entry);
        if (settings.columnMapping.contains(*field)) {
            throw UserError(QStringLiteral("--csv-map: the field '%1' is named twice").arg(name));
        }
        if (!columns.insert(column).second) {
            throw UserError(QStringLiteral("--csv-map: column %1 holds two fields").arg(column + 1));
        }
        settings.columnMapping.emplace(*field, column);
    }
    if (settings.columnMapping.empty()) {
        throw UserError(QStringLiteral("--csv-map: no field is mapped"));
    }
    return settings;
}

} // namespace vantrel::cli
