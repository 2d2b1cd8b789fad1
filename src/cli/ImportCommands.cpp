#include "cli/ImportCommands.h"

#include "app/CsvMappingModel.h"
#include "app/ImportFromAppController.h"
#include "app/ImportFromBankController.h"
#include "cli/CliSession.h"
#include "cli/CommandLine.h"
#include "cli/CsvMapOption.h"
#include "cli/JsonOutput.h"
#include "cli/ObjectLookup.h"
#include "cli/UsageError.h"
#include "cli/UserError.h"
#include "import/AccountExporter.h"
#include "import/BankFileMerge.h"
#include "import/CsvReader.h"
#include "import/ImportOperation.h"
#include "import/OfxReader.h"
#include "import/ParseException.h"
#include "import/QifReader.h"
#include "import/SimpleCsvParser.h"

#include <QFileInfo>

namespace vantrel::cli {

namespace {

using import::ParseException;

const QString kDateOrderHint =
    QStringLiteral("Give the order of day, month and year with --date-order MDY, DMY or YMD");

std::optional<import::DateOrder> dateOrderOption(const CommandLine& line) {
    const std::optional<QString> text = line.value(QStringLiteral("date-order"));
    if (!text) {
        return std::nullopt;
    }
    const std::optional<import::DateOrder> order = import::DateOrder::fromText(text->toUpper());
    if (!order) {
        throw UserError(QStringLiteral("--date-order must be MDY, DMY or YMD, not %1").arg(*text));
    }
    return order;
}

QString existingFile(const CommandLine& line) {
    const QString path = *line.argument(0);
    if (!QFileInfo(path).isFile()) {
        throw UserError(QStringLiteral("No such file: %1").arg(path));
    }
    return path;
}

QString sampleSuffix(const QVariantMap& details) {
    const QString sample = details.value(QStringLiteral("sampleText")).toString();
    return sample.isEmpty() ? QString() : QStringLiteral(" (sample date: %1)").arg(sample);
}

// The column mapping sheet, filled from the command line instead of clicks; its rules decide
// what must be mapped and how the rows read.
app::CsvMappingModel::Finished mapRows(import::CsvRows rows, const import::CsvSettings& settings,
                                       bool fromBank) {
    app::CsvMappingModel sheet;
    sheet.setImportFromBank(fromBank);
    sheet.setupWithRows(std::move(rows));
    sheet.hasHeaderChanged(settings.hasHeader);
    // The boxes exclude each other (CsvMapOption refused both): tick only the one asked for.
    if (settings.separateAmountSign) {
        sheet.separateAmountSignCheckboxChanged(true);
    }
    if (settings.separateDepositWithdrawal) {
        sheet.separateDepositWithdrawalCheckboxChanged(true);
    }
    const std::vector<import::CsvField> available = sheet.availableFields();
    for (const auto& [field, column] : settings.columnMapping) {
        if (column >= sheet.columnCount()) {
            throw UserError(QStringLiteral("--csv-map: the file has %1 columns, not %2")
                                .arg(sheet.columnCount())
                                .arg(column + 1));
        }
        if (std::find(available.begin(), available.end(), field) == available.end()) {
            throw UserError(QStringLiteral("--csv-map: '%1' is not used with this amount layout%2")
                                .arg(CsvMapOption::nameFor(field),
                                     fromBank ? QStringLiteral(" in a bank file") : QString()));
        }
        sheet.menuItemSelectedForColumn({import::CsvSettings::titleFor(field), field}, column);
    }
    if (!sheet.isImportEnabled()) {
        QStringList names;
        for (const import::CsvField field : sheet.requiredFields()) {
            names << CsvMapOption::nameFor(field);
        }
        throw UserError(QStringLiteral("--csv-map must map %1").arg(names.join(QStringLiteral(", "))));
    }
    app::CsvMappingModel::ImportOutcome outcome = [&] {
        try {
            return sheet.import();
        } catch (const ParseException& failure) {
            throw UserError(QStringLiteral("The rows do not fit the mapping: %1").arg(failure.reason()));
        }
    }();
    if (const auto* problem = std::get_if<app::CsvMappingModel::Problem>(&outcome)) {
        throw UserError(problem->message + u' ' + problem->explanation);
    }
    return std::get<app::CsvMappingModel::Finished>(std::move(outcome));
}

vantrel::import::CsvRows csvRows(const QString& path) {
    std::optional<import::CsvRows> rows = import::SimpleCsvParser::parseFile(path);
    if (!rows) {
        throw UserError(QString::fromLatin1(app::ImportFromAppController::kCsvEmptyMessage));
    }
    return std::move(*rows);
}

QString addedSummary(const import::ImportOperation& operation, bool json) {
    const auto accounts = static_cast<std::int64_t>(operation.accountsAdded().size());
    const auto transactions = static_cast<std::int64_t>(operation.numberOfTransactionsAdded());
    const auto categories = static_cast<std::int64_t>(operation.categoriesAdded().size());
    if (json) {
        return JsonOutput::object({
            {QStringLiteral("accounts"), JsonOutput::number(accounts)},
            {QStringLiteral("transactions"), JsonOutput::number(transactions)},
            {QStringLiteral("categories"), JsonOutput::number(categories)},
        });
    }
    const auto counted = [](std::int64_t count, const char* one, const char* several) {
        return QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? one : several));
    };
    return QStringLiteral("Added %1, %2 and %3.")
        .arg(counted(accounts, "account", "accounts"), counted(transactions, "transaction", "transactions"),
             counted(categories, "category", "categories"));
}

} // namespace

// ---- import-bank ----

QString ImportCommands::importBank() {
    const QString path = existingFile(m_line);
    m_session.open();
    model::Account account =
        ObjectLookup(m_session.context()).account(*m_line.value(QStringLiteral("account")));
    if (const std::optional<import::DateOrder> order = dateOrderOption(m_line)) {
        account.setQifDateOrder(order->text());
    }
    import::ImportSummary summary;
    try {
        import::AccountDictionary dictionary = readBankFile(path, account);
        chooseStatement(dictionary);
        summary = import::BankFileMerge(account, m_session.clock()).importTransactions(dictionary);
    } catch (const ParseException& failure) {
        // The order the merge guessed and stored stays, as the application keeps it.
        if (failure.name() == QLatin1String(ParseException::kAmbiguousDate)) {
            m_session.commit();
            throw UserError(app::ImportFromBankController::dateOrderExplanation(failure.details()) + u' ' +
                            kDateOrderHint + sampleSuffix(failure.details()));
        }
        if (failure.name() == QLatin1String(ParseException::kEncoding)) {
            throw UserError(QString::fromLatin1(app::ImportFromAppController::kEncodingMessage));
        }
        throw UserError(QStringLiteral("The selected file could not be imported. (Parse error: %1)")
                            .arg(failure.reason()));
    }
    m_session.commit();
    if (m_line.has(QStringLiteral("json"))) {
        return JsonOutput::object({
            {QStringLiteral("duplicate"), JsonOutput::number(summary.duplicate)},
            {QStringLiteral("new"), JsonOutput::number(summary.newCount)},
            {QStringLiteral("matched"), JsonOutput::number(summary.matched)},
        });
    }
    const app::ImportFromBankController::SummaryLines lines =
        app::ImportFromBankController::summaryLines(summary);
    QStringList text{lines.title, lines.matched, lines.newTransactions};
    if (lines.duplicates) {
        text << *lines.duplicates;
    }
    return text.join(u'\n');
}

vantrel::import::AccountDictionary ImportCommands::readBankFile(const QString& path,
                                                                model::Account& account) {
    const QString extension = QFileInfo(path).suffix().toLower();
    if (extension == u"ofx" || extension == u"qfx") {
        return import::OfxReader::readFileForTransactions(path);
    }
    if (extension == u"qif") {
        return import::QifReader::parseFileForTransactions(path);
    }
    if (extension == u"csv") {
        return readBankCsv(path, account);
    }
    throw UserError(QStringLiteral("Bank files end in .ofx, .qfx, .qif or .csv: %1").arg(path));
}

vantrel::import::AccountDictionary ImportCommands::readBankCsv(const QString& path, model::Account& account) {
    import::CsvRows rows = csvRows(path);
    std::optional<import::CsvSettings> settings = CsvMapOption::fromCommandLine(m_line);
    const bool typed = settings.has_value();
    if (!settings) {
        settings = import::CsvSettings::fromJson(account.csvImportSettings());
    }
    if (!settings) {
        throw UserError(QStringLiteral("The account %1 has no stored CSV mapping; give one with --csv-map "
                                       "(for example date=1,payee=2,amount=3)")
                            .arg(account.name()));
    }
    app::CsvMappingModel::Finished finished = mapRows(std::move(rows), *settings, true);
    if (typed) {
        // Confirming the mapping remembers it for the account's next file.
        account.setCsvImportSettings(settings->toJson());
    }
    return std::get<import::AccountDictionary>(std::move(finished.result));
}

void ImportCommands::chooseStatement(import::AccountDictionary& dictionary) const {
    if (dictionary.accounts.empty()) {
        throw UserError(QStringLiteral("The file holds no bank or credit-card statement"));
    }
    const std::optional<QString> chosen = m_line.value(QStringLiteral("statement"));
    if (dictionary.accounts.size() == 1 && !chosen) {
        return;
    }
    // The statements the application's account selection lists, numbered from 1 in file order.
    std::vector<std::size_t> listed;
    QStringList labels;
    for (std::size_t i = 0; i < dictionary.accounts.size(); ++i) {
        if (const std::optional<QString> label =
                app::ImportFromBankController::accountLabel(dictionary.accounts[i])) {
            listed.push_back(i);
            labels << QStringLiteral("%1 %2").arg(listed.size()).arg(*label);
        }
    }
    if (!chosen) {
        throw UserError(QStringLiteral("The file holds %1 statements; choose one with --statement N: %2")
                            .arg(dictionary.accounts.size())
                            .arg(labels.join(QStringLiteral(", "))));
    }
    bool ok = false;
    const int number = chosen->toInt(&ok);
    if (!ok || number < 1 || static_cast<std::size_t>(number) > listed.size()) {
        throw UserError(QStringLiteral("--statement must be a number from 1 to %1 (%2)")
                            .arg(listed.size())
                            .arg(labels.join(QStringLiteral(", "))));
    }
    import::ImportedAccount statement =
        std::move(dictionary.accounts[listed[static_cast<std::size_t>(number) - 1]]);
    dictionary.accounts.clear();
    dictionary.accounts.push_back(std::move(statement));
}

// ---- import-app ----

QString ImportCommands::importApp() {
    const QString path = existingFile(m_line);
    const QString extension = QFileInfo(path).suffix().toLower();
    if (extension != u"qif" && extension != u"csv") {
        throw UserError(QStringLiteral("Exports of other programs end in .qif or .csv: %1").arg(path));
    }
    m_session.open();
    try {
        return extension == u"qif" ? importAppQif(path) : importAppCsv(path);
    } catch (const ParseException& failure) {
        if (failure.name() == QLatin1String(ParseException::kDateFormat)) {
            const app::DateFormatSheet sheet =
                app::DateFormatSheet::forFailure(failure.reason(), failure.details());
            throw UserError(sheet.message + u' ' + kDateOrderHint + sampleSuffix(failure.details()));
        }
        if (failure.name() == QLatin1String(ParseException::kEncoding)) {
            throw UserError(QString::fromLatin1(app::ImportFromAppController::kEncodingMessage));
        }
        throw UserError(QString::fromLatin1(app::ImportFromAppController::kFormatMessage) +
                        QStringLiteral(" (%1)").arg(failure.reason()));
    }
}

QString ImportCommands::importAppQif(const QString& path) {
    if (CsvMapOption::fromCommandLine(m_line)) {
        throw UserError(QStringLiteral("--csv-map is for CSV files"));
    }
    const bool onlyTransactions = import::QifReader::fileContainsOnlyTransactions(path);
    const std::optional<QString> accountName = m_line.value(QStringLiteral("account"));
    std::optional<objectstore::ObjectID> target;
    if (onlyTransactions) {
        if (!accountName) {
            throw UserError(
                QStringLiteral("The file holds the transactions of one account; name it with --account"));
        }
        target = ObjectLookup(m_session.context()).account(*accountName).object()->id();
    } else if (accountName) {
        throw UserError(
            QStringLiteral("The file holds its own accounts; --account is for files without them"));
    }
    import::ImportChoices choices;
    choices.userSelectedDateFormat = dateOrderOption(m_line);
    import::ImportOperation operation(path, target, std::move(choices), m_session.clock());
    if (target) {
        operation.importSingleAccountFileIntoContext(m_session.context());
    } else {
        operation.importFileIntoContext(m_session.context());
    }
    m_session.commit();
    return addedSummary(operation, m_line.has(QStringLiteral("json")));
}

QString ImportCommands::importAppCsv(const QString& path) {
    const std::optional<QString> accountName = m_line.value(QStringLiteral("account"));
    if (!accountName) {
        throw UserError(
            QStringLiteral("A CSV file holds the transactions of one account; name it with --account"));
    }
    const std::optional<import::CsvSettings> settings = CsvMapOption::fromCommandLine(m_line);
    if (!settings) {
        throw UserError(QStringLiteral("Say which column holds which field with --csv-map (for example "
                                       "date=1,amount=2,payee=3)"));
    }
    const model::Account account = ObjectLookup(m_session.context()).account(*accountName);
    app::CsvMappingModel::Finished finished = mapRows(csvRows(path), *settings, false);
    import::ImportChoices choices;
    choices.userSelectedDateFormat = dateOrderOption(m_line);
    import::ImportOperation operation(std::get<import::ImportedAccount>(std::move(finished.result)),
                                      account.object()->id(), std::move(choices), m_session.clock());
    operation.performCsvImport(m_session.context());
    m_session.commit();
    return addedSummary(operation, m_line.has(QStringLiteral("json")));
}

// ---- export ----

QString ImportCommands::exportAccount() {
    const bool csv = m_line.has(QStringLiteral("csv"));
    if (csv == m_line.has(QStringLiteral("qif"))) {
        throw UsageError(QStringLiteral("Give one of --csv and --qif. ") + m_line.usage());
    }
    m_session.open();
    const model::Account account = ObjectLookup(m_session.context()).account(*m_line.argument(0));
    const QString text = csv ? import::AccountExporter::exportTransactionsToCsv(account)
                             : import::AccountExporter::exportTransactionsToQif(account);
    const std::optional<QString> out = m_line.value(QStringLiteral("out"));
    if (!out) {
        // The caller's print adds the last line end.
        return text.endsWith(u'\n') ? text.chopped(1) : text;
    }
    if (const std::optional<QString> failure = import::AccountExporter::writeToFile(*out, text)) {
        throw UserError(*failure);
    }
    return *out;
}

} // namespace vantrel::cli
