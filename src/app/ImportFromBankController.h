#pragma once

#include "import/AccountDictionary.h"
#include "import/CsvRows.h"
#include "import/CsvSettings.h"
#include "import/DateOrder.h"
#include "import/ImportSummary.h"
#include "model/Account.h"

#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <cstdint>
#include <optional>
#include <vector>

namespace vantrel::import {
class ParseException;
}

namespace vantrel::app {

class Workspace;

// The "Import From Bank" sheet of one account: choose a bank's activity file, read it, let the
// user pick a statement, map CSV columns or name the date order when needed, merge it into the
// account and show what happened. The windows show view() and forward the user's choices here.
class ImportFromBankController {
public:
    enum class View { Main, AccountSelection, CsvSettings, DateOrderPrompt, Summary, ImportSettings };
    // "Import From Bank", "Choose Account", "CSV Import Settings", "Specify Date Format",
    // "Import Completed", "Import Settings".
    static QString titleOf(View view);

    struct SummaryLines {
        QString title;
        QString matched;
        QString newTransactions;
        std::optional<QString> duplicates; // hidden when there were none

        friend bool operator==(const SummaryLines&, const SummaryLines&) = default;
    };
    static SummaryLines summaryLines(const import::ImportSummary& summary);

    // "Checking", "Savings" or "Credit Card", " xxxx" and the last four characters of the account
    // number; nothing for a bank statement of another account type.
    static std::optional<QString> accountLabel(const import::ImportedAccount& statement);
    struct StatementChoice {
        std::size_t statement; // index in the file
        QString label;
    };

    struct DateOrderPrompt {
        QString sampleText;
        import::DateOrder selected = import::DateOrder::mdy();
        QString explanation;
    };
    // In menu order.
    static const std::vector<import::DateOrder>& dateOrderChoices();
    // Why the prompt opened, from the details of the date failure: a date that did not read in the
    // stored order ("parseFailed"), or an order that could not be guessed.
    static QString dateOrderExplanation(const QVariantMap& failureDetails);

    // The special-bank pop-up: automatic (the institution fix-ups apply), ignore the bank's
    // transaction ids, or take the file as sent. Stored values other than none and 0 all mean the
    // last item.
    struct SpecialBankChoice {
        QString label;
        std::optional<std::int64_t> value;
    };
    static const std::vector<SpecialBankChoice>& specialBankChoices();
    static std::size_t specialBankChoiceIndex(const std::optional<std::int64_t>& value);

    struct ImportSettings {
        std::optional<std::int64_t> specialBank;       // none: automatic
        std::optional<import::DateOrder> qifDateOrder; // none: automatic
    };

    // Opening the sheet for `account`: nothing chosen, no failures counted yet.
    ImportFromBankController(Workspace& workspace, model::Account account);

    View view() const { return m_view; }
    const model::Account& account() const { return m_account; }

    // Main view. Files of other kinds are refused (false) and change nothing.
    static const QStringList& fileExtensions();
    bool chooseFile(const QString& path);
    const QString& fileName() const { return m_fileName; }
    bool canImport() const { return !m_fileName.isEmpty(); }
    // The day, as MM/dd/yyyy, from which the user should download activity: the latest day of bank
    // data, else the day after the account's effective start balance date.
    const QString& downloadHint() const { return m_downloadHint; }
    // Reads the chosen file (or resumes with the statement already read) and merges it.
    void import();

    // Account selection: the statements the file holds, those of listed types only.
    const std::vector<StatementChoice>& statementChoices() const { return m_statementChoices; }
    // `choice` indexes statementChoices().
    void continueFromAccountSelector(std::size_t choice);

    // CSV settings: the mapping sheet works on these rows and hands back the file it built, with
    // the settings to remember when the user asked for that.
    const import::CsvRows& csvRows() const { return m_csvRows; }
    void didFinishParsingCsvWithResult(const import::AccountDictionary& result,
                                       const std::optional<import::CsvSettings>& settings);
    void userDidCancelCsvImport();
    void forgetCsvImportSettings();

    // Date-order prompt.
    const DateOrderPrompt& dateOrderPrompt() const { return m_dateOrderPrompt; }
    void continueFromDateOrder(import::DateOrder order);

    const import::ImportSummary& summary() const { return m_summary; }

    // Import settings.
    void showSettings();
    ImportSettings settings() const;
    void saveSettings(const ImportSettings& settings);

    // Back to the main view from any other; a file read so far is dropped.
    void cancelFromDialog();

private:
    // False when the file led to another view (or an alert) instead of a statement.
    bool readChosenFile();
    bool readCsvFile();
    void merge();
    void showAccountSelector();
    void handleImportFailure(const import::ParseException& failure);
    void showDateOrderPrompt(const import::ParseException& failure);
    void backToMain();

    Workspace& m_workspace;
    model::Account m_account;
    View m_view = View::Main;
    QString m_fileName;
    QString m_downloadHint;
    std::optional<import::AccountDictionary> m_dictionary;
    import::CsvRows m_csvRows;
    std::vector<StatementChoice> m_statementChoices;
    DateOrderPrompt m_dateOrderPrompt;
    import::ImportSummary m_summary;
    int m_dateParseFailures = 0;
};

} // namespace vantrel::app
