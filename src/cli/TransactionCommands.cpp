#include "cli/TransactionCommands.h"

#include "app/RegisterSearch.h"
#include "app/RegisterViewModel.h"
#include "app/TransferDialogModel.h"
#include "cli/CliSession.h"
#include "cli/CommandLine.h"
#include "cli/InputValues.h"
#include "cli/JsonOutput.h"
#include "cli/ObjectLookup.h"
#include "cli/TextTable.h"
#include "cli/UserError.h"
#include "model/Account.h"
#include "model/TextHelper.h"
#include "model/Transaction.h"

namespace vantrel::cli {

namespace {

// "Food=-12.5": the category before the last "=" (names may hold one), the amount after it.
model::PlainSplit splitLine(const ObjectLookup& lookup, const QString& text) {
    const qsizetype equals = text.lastIndexOf(u'=');
    if (equals <= 0) {
        throw UserError(QStringLiteral("Not a split: %1 (write CATEGORY=AMOUNT)").arg(text));
    }
    return model::PlainSplit{lookup.category(text.left(equals)).object(),
                             InputValues::amount(text.mid(equals + 1))};
}

} // namespace

QString TransactionCommands::add() {
    m_session.open();
    objectstore::Context& context = m_session.context();
    const ObjectLookup lookup(context);

    model::Account account = lookup.account(*m_line.value(QStringLiteral("account")));
    const model::Day date = InputValues::day(*m_line.value(QStringLiteral("date")));
    const model::Amount amount = InputValues::amount(*m_line.value(QStringLiteral("amount")));
    std::optional<std::int64_t> check;
    if (const std::optional<QString> text = m_line.value(QStringLiteral("check"))) {
        check = InputValues::checkNumber(*text);
    }

    const QStringList splitTexts = m_line.values(QStringLiteral("split"));
    if (!splitTexts.isEmpty() && m_line.has(QStringLiteral("category"))) {
        throw UserError(QStringLiteral("Use either --category or --split, not both"));
    }
    objectstore::ManagedObject* category = nullptr;
    if (const std::optional<QString> name = m_line.value(QStringLiteral("category"))) {
        category = lookup.category(*name).object();
    }
    std::vector<model::PlainSplit> splits;
    model::Amount splitTotal;
    for (const QString& text : splitTexts) {
        splits.push_back(splitLine(lookup, text));
        splitTotal += splits.back().amount;
    }
    if (!splits.empty() && splitTotal != amount) {
        throw UserError(QStringLiteral("The splits add up to %1, not to the amount %2")
                            .arg(splitTotal.rounded(2).toString(), amount.rounded(2).toString()));
    }

    model::Transaction transaction = account.createTransactionWithDate(
        date, m_line.value(QStringLiteral("payee")).value_or(QString()), amount, category,
        m_line.value(QStringLiteral("notes")).value_or(QString()), check, m_session.clock());
    if (!splits.empty()) {
        transaction.setMultipleCategoriesAndAmounts(splits);
    }
    if (m_line.has(QStringLiteral("cleared"))) {
        transaction.setFlagged(false);
    }
    m_session.commit();
    return transaction.cloudID();
}

QString TransactionCommands::showRegister() {
    m_session.open();
    CliWorkspace& workspace = m_session.workspace();
    if (const std::optional<QString> name = m_line.argument(0)) {
        const model::Account account = ObjectLookup(workspace.context()).account(*name);
        return rows(app::RegisterViewModel::forAccount(workspace, account, m_session.localeId()), true);
    }
    return rows(app::RegisterViewModel::forAllAccounts(workspace, m_session.localeId()), false);
}

QString TransactionCommands::search() {
    m_session.open();
    CliWorkspace& workspace = m_session.workspace();
    const QString text = *m_line.argument(0);
    if (model::TextHelper::isBlank_vt(text)) {
        throw UserError(QStringLiteral("Nothing to search for"));
    }
    std::optional<model::Account> account;
    if (const std::optional<QString> name = m_line.value(QStringLiteral("account"))) {
        account = ObjectLookup(workspace.context()).account(*name);
    }
    app::RegisterSearch search(workspace, account, m_session.localeId());
    search.setText(text);
    return rows(search.results(), account.has_value());
}

QString TransactionCommands::transfer() {
    m_session.open();
    CliWorkspace& workspace = m_session.workspace();
    const ObjectLookup lookup(workspace.context());
    const model::Account from = lookup.account(*m_line.value(QStringLiteral("from")));
    const model::Account to = lookup.account(*m_line.value(QStringLiteral("to")));
    if (from.object() == to.object()) {
        throw UserError(QStringLiteral("Cannot transfer from an account to itself"));
    }
    const model::Amount amount = InputValues::amount(*m_line.value(QStringLiteral("amount")));

    app::TransferDialogModel dialog(workspace, from, m_session.localeId());
    dialog.chooseDestination(to.object());
    dialog.amountField().setValue(amount);
    if (const std::optional<QString> name = m_line.value(QStringLiteral("category"))) {
        dialog.setCategory(lookup.category(*name).object());
    }
    // Without --title the dialog's own choice stands: the remembered title, else "To"/"From".
    if (const std::optional<QString> title = m_line.value(QStringLiteral("title"))) {
        dialog.setTitle(*title);
    }
    if (const std::optional<QString> date = m_line.value(QStringLiteral("date"))) {
        dialog.setDate(InputValues::day(*date));
    }
    if (const app::CommandOutcome outcome = dialog.confirm(); !outcome.succeeded()) {
        throw UserError(outcome.reason());
    }
    m_session.commit();
    return QString();
}

QString TransactionCommands::rows(const app::RegisterViewModel& view, bool withBalance) const {
    if (m_line.has(QStringLiteral("json"))) {
        std::vector<JsonOutput::Fields> rows;
        for (std::size_t row = 0; row < view.rowCount(); ++row) {
            const model::Transaction transaction = view.transactionAt(row);
            const std::optional<model::Day> date = transaction.date();
            JsonOutput::Fields fields{
                {QStringLiteral("date"), date ? JsonOutput::string(date->toIsoString()) : JsonOutput::null()},
                {QStringLiteral("title"), JsonOutput::string(transaction.title())},
                {QStringLiteral("description"), JsonOutput::string(view.description(row).title)},
                {QStringLiteral("category"), JsonOutput::string(view.categoryText(row))},
                {QStringLiteral("amount"),
                 JsonOutput::amount(transaction.amount().value_or(model::Amount()))},
            };
            if (withBalance) {
                fields.emplace_back(QStringLiteral("balance"), JsonOutput::amount(view.runningBalance(row)));
            }
            fields.emplace_back(QStringLiteral("flag"), JsonOutput::string(transaction.flag()));
            fields.emplace_back(QStringLiteral("cloudID"), JsonOutput::string(transaction.cloudID()));
            rows.push_back(std::move(fields));
        }
        return JsonOutput::array(rows);
    }

    std::vector<TextTable::Column> columns{{QStringLiteral("Date")},
                                           {QStringLiteral("Description")},
                                           {QStringLiteral("Category")},
                                           {QStringLiteral("Amount"), TextTable::Align::Right}};
    if (withBalance) {
        columns.push_back({QStringLiteral("Balance"), TextTable::Align::Right});
    }
    columns.push_back({QStringLiteral("Flag")});
    TextTable table(std::move(columns));
    for (std::size_t row = 0; row < view.rowCount(); ++row) {
        const model::Transaction transaction = view.transactionAt(row);
        const std::optional<model::Day> date = transaction.date();
        QStringList cells{date ? date->toIsoString() : QString(), view.description(row).title,
                          view.categoryText(row), view.amountText(row)};
        if (withBalance) {
            cells.append(view.balanceText(row));
        }
        cells.append(transaction.flag());
        table.addRow(cells);
    }
    return table.toString();
}

} // namespace vantrel::cli
