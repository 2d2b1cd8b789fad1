#include "app/CsvMappingModel.h"

#include "import/CsvReader.h"
#include "import/ParseException.h"
#include "model/TextHelper.h"
#include "platform/InternalError.h"

#include <QStringList>

#include <algorithm>

namespace vantrel::app {

using import::CsvField;

namespace {

const QString kExplanation = QStringLiteral(
    "Please adjust settings to make sure all text displayed in black are in the proper format. %1");

bool contains(const std::vector<CsvField>& fields, CsvField field) {
    return std::find(fields.cbegin(), fields.cend(), field) != fields.cend();
}

std::optional<CsvMappingModel::Problem> problemFor(const import::ParseException& failure) {
    const QString text = failure.details().value(QStringLiteral("string")).toString();
    if (failure.reason() == QLatin1String(import::CsvReader::kInvalidDateFormat)) {
        return CsvMappingModel::Problem{
            QStringLiteral("This text \"%1\" does not look like a date.").arg(text),
            kExplanation.arg(QStringLiteral("A date should look like \"10/21/2010.\""))};
    }
    if (failure.reason() == QLatin1String(import::CsvReader::kInvalidAmountFormat)) {
        return CsvMappingModel::Problem{
            QStringLiteral("This text \"%1\" does not look like an amount.").arg(text),
            kExplanation.arg(QStringLiteral("An amount should look like \"-10.00.\""))};
    }
    return std::nullopt;
}

// The widest line of a cell, in characters (a quoted field may hold line breaks).
qsizetype charactersWide(const QString& cell) {
    qsizetype widest = 0;
    for (const QStringView line : QStringView(cell).split(u'\n')) {
        widest = std::max(widest, line.size());
    }
    return widest;
}

} // namespace

CsvMappingModel::CsvMappingModel() {
    updateUIStates();
}

void CsvMappingModel::setImportFromBank(bool fromBank) {
    m_isImportFromBank = fromBank;
    updateUIStates();
}

void CsvMappingModel::setupWithRows(import::CsvRows rows) {
    m_rows = std::move(rows);
    m_columnCount = m_rows.empty() ? 0 : static_cast<int>(m_rows.front().size());
    m_columnWidths.clear();
    for (int column = 0; column < m_columnCount; ++column) {
        m_columnWidths.push_back(widthOfWidestCell(m_rows, column));
    }
    m_settings = import::CsvSettings{};
    m_remember = true;
    updateUIStates();
}

int CsvMappingModel::columnWidth(int column) const {
    checkColumn(column);
    return m_columnWidths.at(static_cast<std::size_t>(column));
}

QString CsvMappingModel::headerTitle(int column) const {
    checkColumn(column);
    for (const auto& [field, mapped] : m_settings.columnMapping) {
        if (mapped == column) {
            return import::CsvSettings::titleFor(field);
        }
    }
    return QString();
}

std::vector<CsvMappingModel::MenuItem> CsvMappingModel::menuItemsForColumn(int column) const {
    checkColumn(column);
    std::vector<MenuItem> items{MenuItem{}};
    const std::vector<CsvField> available = availableFields();
    for (const CsvField field : import::CsvSettings::allFields()) {
        if (contains(available, field) && !m_settings.columnOf(field)) {
            items.push_back(MenuItem{import::CsvSettings::titleFor(field), field});
        }
    }
    return items;
}

void CsvMappingModel::menuItemSelectedForColumn(const MenuItem& item, int column) {
    checkColumn(column);
    std::erase_if(m_settings.columnMapping, [column](const auto& entry) { return entry.second == column; });
    if (item.field) {
        m_settings.columnMapping[*item.field] = column;
    }
    updateUIStates();
}

void CsvMappingModel::hasHeaderChanged(bool ticked) {
    m_settings.hasHeader = ticked;
    updateUIStates();
}

void CsvMappingModel::separateAmountSignCheckboxChanged(bool ticked) {
    if (ticked && !isSeparateAmountSignEnabled()) {
        throw platform::InternalError("The amount sign box is disabled while deposits are separate");
    }
    m_settings.separateAmountSign = ticked;
    updateUIStates();
}

void CsvMappingModel::separateDepositWithdrawalCheckboxChanged(bool ticked) {
    if (ticked && !isSeparateDepositWithdrawalEnabled()) {
        throw platform::InternalError(
            "The deposit and withdrawal box is disabled while the sign is separate");
    }
    m_settings.separateDepositWithdrawal = ticked;
    updateUIStates();
}

std::vector<CsvField> CsvMappingModel::requiredFields() const {
    std::vector<CsvField> fields{CsvField::Date};
    if (m_isImportFromBank) {
        fields.push_back(CsvField::Payee);
    }
    if (m_settings.separateDepositWithdrawal) {
        fields.insert(fields.end(), {CsvField::Deposit, CsvField::Withdrawal});
    } else if (m_settings.separateAmountSign) {
        fields.insert(fields.end(), {CsvField::Amount, CsvField::AmountSign});
    } else {
        fields.push_back(CsvField::Amount);
    }
    return fields;
}

std::vector<CsvField> CsvMappingModel::availableFields() const {
    std::vector<CsvField> fields = requiredFields();
    if (!m_isImportFromBank) {
        fields.insert(fields.end(),
                      {CsvField::Payee, CsvField::Category, CsvField::Memo, CsvField::CheckNumber});
    }
    return fields;
}

bool CsvMappingModel::isCellGrey(int row, int column) const {
    checkColumn(column);
    if (row < 0 || static_cast<std::size_t>(row) >= m_rows.size()) {
        throw platform::InternalError("CsvMappingModel: no such row");
    }
    return (row == 0 && m_settings.hasHeader) || headerTitle(column).isEmpty();
}

CsvMappingModel::ImportOutcome CsvMappingModel::import() const {
    if (!m_isImportEnabled) {
        throw platform::InternalError("CsvMappingModel::import while Import is disabled");
    }
    std::optional<import::CsvSettings> remembered;
    if (m_remember) {
        remembered = m_settings;
    }
    try {
        if (m_isImportFromBank) {
            return Finished{import::CsvReader::readRows(m_rows, m_settings), remembered};
        }
        return Finished{import::CsvReader::accountDictionaryFromRows(m_rows, m_settings), remembered};
    } catch (const import::ParseException& failure) {
        if (std::optional<Problem> problem = problemFor(failure)) {
            return *problem;
        }
        throw;
    }
}

void CsvMappingModel::updateUIStates() {
    const std::vector<CsvField> available = availableFields();
    std::erase_if(m_settings.columnMapping,
                  [&available](const auto& entry) { return !contains(available, entry.first); });

    const std::vector<CsvField> required = requiredFields();
    m_isImportEnabled = std::all_of(required.cbegin(), required.cend(), [this](CsvField field) {
        return m_settings.columnOf(field).has_value();
    });

    QStringList names;
    for (const CsvField field : required) {
        names.append(import::CsvSettings::titleFor(field).toLower());
    }
    if (available.size() > required.size()) {
        names.append(QStringLiteral("other"));
    }
    m_instruction = QStringLiteral("Please identify the %1 fields below by clicking on their column headers.")
                        .arg(model::TextHelper::naturalList(names));
}

void CsvMappingModel::checkColumn(int column) const {
    if (column < 0 || column >= m_columnCount) {
        throw platform::InternalError("CsvMappingModel: no such column");
    }
}

int CsvMappingModel::widthOfWidestCell(const import::CsvRows& rows, int column) {
    qsizetype widest = 0;
    for (const QStringList& row : rows) {
        if (column < row.size()) {
            widest = std::max(widest, charactersWide(row.at(column)));
        }
    }
    const qsizetype points = widest * kPointsPerCharacter + kCellPadding;
    return static_cast<int>(std::clamp<qsizetype>(points, kMinimumColumnWidth, kMaximumColumnWidth));
}

} // namespace vantrel::app
