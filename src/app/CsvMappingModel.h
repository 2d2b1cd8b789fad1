#pragma once

#include "import/AccountDictionary.h"
#include "import/CsvRows.h"
#include "import/CsvSettings.h"

#include <QString>

#include <optional>
#include <variant>
#include <vector>

namespace vantrel::app {

// What the CSV import settings sheet shows and allows: the user says which column holds which
// field by choosing from each column header's menu, ticks how amounts are laid out, and imports.
// The sheet always starts empty; settings stored on an account are not preloaded.
class CsvMappingModel {
public:
    // One item of a column header's menu; the blank item (no field) unmaps the column.
    struct MenuItem {
        QString title;
        std::optional<import::CsvField> field;

        friend bool operator==(const MenuItem&, const MenuItem&) = default;
    };

    // The built result and the settings to remember (none when the remember box is unticked).
    struct Finished {
        std::variant<import::AccountDictionary, import::ImportedAccount> result;
        std::optional<import::CsvSettings> settings;
    };

    // Why the rows did not read with this mapping; the sheet stays open and shows it.
    struct Problem {
        QString message;
        QString explanation;

        friend bool operator==(const Problem&, const Problem&) = default;
    };

    using ImportOutcome = std::variant<Finished, Problem>;

    // Column widths in points: each column fits its widest cell within these bounds. A cell's width
    // is its longest line's character count times kPointsPerCharacter plus kCellPadding.
    static constexpr int kMinimumColumnWidth = 80;
    static constexpr int kMaximumColumnWidth = 160;
    static constexpr int kPointsPerCharacter = 7;
    static constexpr int kCellPadding = 10;

    CsvMappingModel();

    // True for the bank-file import; the import from another application sets it false, which
    // makes payee optional, offers category, notes and check number, and hides the remember box.
    bool isImportFromBank() const { return m_isImportFromBank; }
    void setImportFromBank(bool fromBank);

    // Squared rows (every row has the same number of fields). Starts over: nothing mapped, the
    // three boxes unticked, remember ticked, Import disabled.
    void setupWithRows(import::CsvRows rows);
    const import::CsvRows& rows() const { return m_rows; }
    int columnCount() const { return m_columnCount; }
    int columnWidth(int column) const;

    // The title of the field mapped to the column, empty when none is.
    QString headerTitle(int column) const;
    // The blank item first, then the available fields not mapped yet, in menu order.
    std::vector<MenuItem> menuItemsForColumn(int column) const;
    // Unmaps whatever the column held and maps the item's field to it (moving it from another
    // column if it was there).
    void menuItemSelectedForColumn(const MenuItem& item, int column);

    bool hasHeader() const { return m_settings.hasHeader; }
    void hasHeaderChanged(bool ticked);
    bool separateAmountSign() const { return m_settings.separateAmountSign; }
    void separateAmountSignCheckboxChanged(bool ticked);
    bool separateDepositWithdrawal() const { return m_settings.separateDepositWithdrawal; }
    void separateDepositWithdrawalCheckboxChanged(bool ticked);
    bool isSeparateAmountSignEnabled() const { return !m_settings.separateDepositWithdrawal; }
    bool isSeparateDepositWithdrawalEnabled() const { return !m_settings.separateAmountSign; }

    bool isRememberBoxVisible() const { return m_isImportFromBank; }
    bool remember() const { return m_remember; }
    void setRemember(bool ticked) { m_remember = ticked; }

    std::vector<import::CsvField> requiredFields() const;
    // Required fields first, then the optional ones, in menu order within each group.
    std::vector<import::CsvField> availableFields() const;
    bool isImportEnabled() const { return m_isImportEnabled; }
    QString instructionText() const { return m_instruction; }

    // Cells of unmapped columns and of the header row (when it is one) are grey.
    bool isCellGrey(int row, int column) const;

    // The mapping and the three boxes as they stand.
    const import::CsvSettings& settings() const { return m_settings; }

    // Reads the rows with the settings. Only possible while Import is enabled (InternalError
    // otherwise). A mapping that does not fit the rows at all propagates its ParseException.
    ImportOutcome import() const;

private:
    void updateUIStates();
    void checkColumn(int column) const;
    static int widthOfWidestCell(const import::CsvRows& rows, int column);

    bool m_isImportFromBank = true;
    import::CsvRows m_rows;
    int m_columnCount = 0;
    std::vector<int> m_columnWidths;
    import::CsvSettings m_settings;
    bool m_remember = true;
    bool m_isImportEnabled = false;
    QString m_instruction;
};

} // namespace vantrel::app
