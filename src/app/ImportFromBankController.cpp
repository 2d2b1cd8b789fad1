#include "app/ImportFromBankController.h"

#include "app/SupportAddress.h"
#include "app/Workspace.h"
#include "import/BankFileMerge.h"
#include "import/CsvReader.h"
#include "import/OfxReader.h"
#include "import/ParseException.h"
#include "import/QifReader.h"
#include "import/SimpleCsvParser.h"

#include <QFileInfo>

namespace vantrel::app {

using import::ParseException;

namespace {

QString supportAddress() {
    return QString::fromLatin1(kSupportAddress);
}

Alert parseFailureAlert(const QString& reason) {
    return {
        QStringLiteral("The selected file could not be imported."),
        QStringLiteral("Make sure this is an activity file downloaded from your bank's website. If you "
                       "continue to have problem, please email %1 and attach a copy the file you are trying "
                       "to import. (Parse error: %2)")
            .arg(supportAddress(), reason),
        {}};
}

Alert encodingFailureAlert() {
    return {
        QStringLiteral("The encoding of the file could not be determined."),
        QStringLiteral("The file was not imported. Please contact %1 with the file attached for assistance.")
            .arg(supportAddress()),
        {}};
}

Alert repeatedDateFailureAlert() {
    return {QStringLiteral("Looks like you are having problem."),
            QStringLiteral(
                "The dates in the QIF file could not be parsed with the format you specified. Make sure "
                "you are specifying day, month and year in the right order. Vantrel assumes each date "
                "field is separated by a non-digit charactor in the QIF file. If you continue to have "
                "problem, please contact %1 for help.")
                .arg(supportAddress()),
            {}};
}

QString lastFour(const QString& accountNumber) {
    return accountNumber.size() < 4 ? accountNumber : accountNumber.right(4);
}

} // namespace

QString ImportFromBankController::titleOf(View view) {
    switch (view) {
    case View::Main:
        return QStringLiteral("Import From Bank");
    case View::AccountSelection:
        return QStringLiteral("Choose Account");
    case View::CsvSettings:
        return QStringLiteral("CSV Import Settings");
    case View::DateOrderPrompt:
        return QStringLiteral("Specify Date Format");
    case View::Summary:
        return QStringLiteral("Import Completed");
    case View::ImportSettings:
        return QStringLiteral("Import Settings");
    }
    return {};
}

ImportFromBankController::SummaryLines
ImportFromBankController::summaryLines(const import::ImportSummary& summary) {
    const int imported = summary.imported();
    SummaryLines lines;
    lines.title = imported == 1 ? QStringLiteral("1 transaction was imported")
                                : QStringLiteral("%1 transactions were imported").arg(imported);
    lines.matched = QStringLiteral("%1 matched pending transactions").arg(summary.matched);
    lines.newTransactions = summary.newCount == 1
                                ? QStringLiteral("1 was a new transaction")
                                : QStringLiteral("%1 were new transactions").arg(summary.newCount);
    if (summary.duplicate == 1) {
        lines.duplicates = QStringLiteral("1 duplicate was not imported");
    } else if (summary.duplicate > 1) {
        lines.duplicates = QStringLiteral("%1 duplicates were not imported").arg(summary.duplicate);
    }
    return lines;
}

std::optional<QString> ImportFromBankController::accountLabel(const import::ImportedAccount& statement) {
    QString kind;
    if (statement.aggregateType == import::AggregateType::CreditCard) {
        kind = QStringLiteral("Credit Card");
    } else if (statement.aggregateType == import::AggregateType::Bank && statement.acctType == u"CHECKING") {
        kind = QStringLiteral("Checking");
    } else if (statement.aggregateType == import::AggregateType::Bank && statement.acctType == u"SAVINGS") {
        kind = QStringLiteral("Savings");
    } else {
        return std::nullopt;
    }
    return QStringLiteral("%1 xxxx%2").arg(kind, lastFour(statement.acctID.value_or(QString())));
}

const std::vector<import::DateOrder>& ImportFromBankController::dateOrderChoices() {
    static const std::vector<import::DateOrder> choices{import::DateOrder::mdy(), import::DateOrder::dmy(),
                                                        import::DateOrder::ymd()};
    return choices;
}

const std::vector<ImportFromBankController::SpecialBankChoice>&
ImportFromBankController::specialBankChoices() {
    static const std::vector<SpecialBankChoice> choices{
        {QStringLiteral("Automatic"), std::nullopt},
        {QStringLiteral("Ignore Transaction IDs"), 0},
        {QStringLiteral("No Automatic Corrections"), 1},
    };
    return choices;
}

std::size_t ImportFromBankController::specialBankChoiceIndex(const std::optional<std::int64_t>& value) {
    if (!value) {
        return 0;
    }
    return *value == 0 ? 1 : 2;
}

const QStringList& ImportFromBankController::fileExtensions() {
    static const QStringList extensions{QStringLiteral("ofx"), QStringLiteral("qfx"), QStringLiteral("qif"),
                                        QStringLiteral("csv")};
    return extensions;
}

ImportFromBankController::ImportFromBankController(Workspace& workspace, model::Account account)
    : m_workspace(workspace)
    , m_account(account) {
    std::optional<model::Day> from = m_account.dateOfLatestOFXTransaction();
    if (!from) {
        if (const std::optional<model::Day> start = m_account.effectiveStartBalanceDate()) {
            from = start->daysLater_VT(1);
        }
    }
    if (from) {
        m_downloadHint = from->toQDate().toString(QStringLiteral("MM/dd/yyyy"));
    }
}

bool ImportFromBankController::chooseFile(const QString& path) {
    if (!fileExtensions().contains(QFileInfo(path).suffix().toLower())) {
        return false;
    }
    m_fileName = path;
    m_dictionary.reset();
    m_csvRows.clear();
    return true;
}

void ImportFromBankController::import() {
    if (!canImport()) {
        return;
    }
    try {
        if (!m_dictionary && !readChosenFile()) {
            return;
        }
        if (m_dictionary->accounts.size() >= 2) {
            showAccountSelector();
            return;
        }
        if (m_dictionary->accounts.empty()) {
            throw ParseException(QString::fromLatin1(ParseException::kParse),
                                 QStringLiteral("The file holds no bank or credit card statement."));
        }
        merge();
    } catch (const ParseException& failure) {
        handleImportFailure(failure);
    } catch (...) {
        m_dictionary.reset();
        throw;
    }
}

bool ImportFromBankController::readChosenFile() {
    const QString extension = QFileInfo(m_fileName).suffix().toLower();
    if (extension == u"ofx" || extension == u"qfx") {
        m_dictionary = import::OfxReader::readFileForTransactions(m_fileName);
        return true;
    }
    if (extension == u"qif") {
        m_dictionary = import::QifReader::parseFileForTransactions(m_fileName);
        return true;
    }
    return readCsvFile();
}

bool ImportFromBankController::readCsvFile() {
    std::optional<import::CsvRows> rows = import::SimpleCsvParser::parseFile(m_fileName);
    if (!rows || rows->empty()) {
        m_workspace.alerts().present({QStringLiteral("The selected CSV file is empty."),
                                      QStringLiteral("Please select another file and try again."),
                                      {}});
        return false;
    }
    m_csvRows = std::move(*rows);
    if (const std::optional<import::CsvSettings> stored =
            import::CsvSettings::fromJson(m_account.csvImportSettings())) {
        try {
            m_dictionary = import::CsvReader::readRows(m_csvRows, *stored);
            return true;
        } catch (const ParseException& failure) {
            // Remembered columns that no longer fit this file: let the user map it again.
            if (failure.name() != ParseException::kCsvParse) {
                throw;
            }
        }
    }
    m_view = View::CsvSettings;
    return false;
}

void ImportFromBankController::merge() {
    // The merge rewrites the statement in place; the kept copy stays as read, so that a retry
    // after the date-order prompt starts from the file's own texts.
    import::AccountDictionary working = *m_dictionary;
    m_summary = import::BankFileMerge(m_account, m_workspace.clock()).importTransactions(working);
    m_dictionary.reset();
    m_csvRows.clear();
    m_workspace.saveDatabase();
    m_workspace.refreshAllViews();
    m_view = View::Summary;
}

void ImportFromBankController::showAccountSelector() {
    m_statementChoices.clear();
    for (std::size_t i = 0; i < m_dictionary->accounts.size(); ++i) {
        if (std::optional<QString> label = accountLabel(m_dictionary->accounts[i])) {
            m_statementChoices.push_back({i, *label});
        }
    }
    m_view = View::AccountSelection;
}

void ImportFromBankController::continueFromAccountSelector(std::size_t choice) {
    if (m_view != View::AccountSelection || !m_dictionary || choice >= m_statementChoices.size()) {
        return;
    }
    import::ImportedAccount chosen = m_dictionary->accounts[m_statementChoices[choice].statement];
    m_dictionary->accounts = {std::move(chosen)};
    m_view = View::Main;
    import();
}

void ImportFromBankController::didFinishParsingCsvWithResult(
    const import::AccountDictionary& result, const std::optional<import::CsvSettings>& settings) {
    if (settings) {
        m_account.setCsvImportSettings(settings->toJson());
    }
    m_dictionary = result;
    m_view = View::Main;
    import();
}

void ImportFromBankController::userDidCancelCsvImport() {
    backToMain();
}

void ImportFromBankController::forgetCsvImportSettings() {
    m_account.setCsvImportSettings(QString());
    m_workspace.saveDatabase();
}

void ImportFromBankController::handleImportFailure(const ParseException& failure) {
    const QString& name = failure.name();
    if (name == ParseException::kCsvParse) {
        m_dictionary.reset();
        m_view = View::CsvSettings;
        return;
    }
    if (name != ParseException::kParse && name != ParseException::kEncoding &&
        name != ParseException::kAmbiguousDate) {
        m_dictionary.reset();
        throw;
    }
    // Keeps a date order the merge has already settled on the account.
    m_workspace.saveDatabase();
    if (name == ParseException::kAmbiguousDate) {
        showDateOrderPrompt(failure);
        return;
    }
    backToMain();
    m_workspace.alerts().present(name == ParseException::kEncoding ? encodingFailureAlert()
                                                                   : parseFailureAlert(failure.reason()));
}

QString ImportFromBankController::dateOrderExplanation(const QVariantMap& failureDetails) {
    return failureDetails.contains(QStringLiteral("parseFailed"))
               ? QStringLiteral(
                     "Dates could not be parsed with the date format specified. Please select a new date "
                     "format.")
               : QStringLiteral(
                     "The format of dates could not be automatically determined. Please specify it below.");
}

void ImportFromBankController::showDateOrderPrompt(const ParseException& failure) {
    m_dateOrderPrompt.sampleText = failure.details().value(QStringLiteral("sampleText")).toString();
    m_dateOrderPrompt.selected =
        import::DateOrder::fromText(m_account.qifDateOrder()).value_or(import::DateOrder::mdy());
    m_dateOrderPrompt.explanation = dateOrderExplanation(failure.details());
    m_view = View::DateOrderPrompt;
    if (failure.details().contains(QStringLiteral("parseFailed")) && ++m_dateParseFailures >= 4) {
        m_workspace.alerts().present(repeatedDateFailureAlert());
    }
}

void ImportFromBankController::continueFromDateOrder(import::DateOrder order) {
    if (m_view != View::DateOrderPrompt) {
        return;
    }
    m_account.setQifDateOrder(order.text());
    m_workspace.saveDatabase();
    m_view = View::Main;
    import();
}

void ImportFromBankController::showSettings() {
    m_view = View::ImportSettings;
}

ImportFromBankController::ImportSettings ImportFromBankController::settings() const {
    return {m_account.specialBank(), import::DateOrder::fromText(m_account.qifDateOrder())};
}

void ImportFromBankController::saveSettings(const ImportSettings& settings) {
    m_account.setSpecialBank(settings.specialBank);
    m_account.setQifDateOrder(settings.qifDateOrder ? settings.qifDateOrder->text() : QString());
    m_workspace.saveDatabase();
    m_view = View::Main;
}

void ImportFromBankController::cancelFromDialog() {
    backToMain();
}

void ImportFromBankController::backToMain() {
    m_dictionary.reset();
    m_csvRows.clear();
    m_statementChoices.clear();
    m_view = View::Main;
}

} // namespace vantrel::app
