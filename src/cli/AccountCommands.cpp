#include "cli/AccountCommands.h"

#include "app/AccountDeletion.h"
#include "app/AccountSheetModel.h"
#include "app/AccountSidebarModel.h"
#include "cli/CliSession.h"
#include "cli/CommandLine.h"
#include "cli/InputValues.h"
#include "cli/JsonOutput.h"
#include "cli/ObjectLookup.h"
#include "cli/TextTable.h"
#include "cli/UserError.h"
#include "model/Account.h"
#include "model/General.h"
#include "model/Global.h"
#include "model/TextHelper.h"

namespace vantrel::cli {

QString AccountCommands::list() {
    m_session.open();
    objectstore::Context& context = m_session.context();
    const QString home = model::Global::sharedInstanceInContext(context).homeCurrencyCode();
    const std::vector<model::Account> accounts = model::Account::allInAccountOrder(context);

    if (m_line.has(QStringLiteral("json"))) {
        std::vector<JsonOutput::Fields> rows;
        for (const model::Account& account : accounts) {
            rows.push_back({
                {QStringLiteral("name"), JsonOutput::string(account.name())},
                {QStringLiteral("type"), JsonOutput::string(InputValues::accountTypeToken(account.type()))},
                {QStringLiteral("currency"), JsonOutput::string(account.currencyCode())},
                {QStringLiteral("balance"), JsonOutput::amount(account.balance())},
                {QStringLiteral("clearedBalance"), JsonOutput::amount(account.reconciledBalance())},
                {QStringLiteral("balanceInHomeCurrency"),
                 JsonOutput::amount(account.balanceInHomeCurrency())},
                {QStringLiteral("closed"), JsonOutput::boolean(account.isClosed())},
            });
        }
        return JsonOutput::array(rows);
    }

    const QString& locale = m_session.localeId();
    const model::CurrencyFormatter homeFormatter = model::General::formatterForHomeCurrency(home, locale);
    TextTable table({{QStringLiteral("Name")},
                     {QStringLiteral("Type")},
                     {QStringLiteral("Currency")},
                     {QStringLiteral("Balance"), TextTable::Align::Right},
                     {QStringLiteral("Cleared"), TextTable::Align::Right},
                     {QStringLiteral("In %1").arg(home), TextTable::Align::Right},
                     {QStringLiteral("Closed")}});
    for (const model::Account& account : accounts) {
        table.addRow({account.name(), InputValues::accountTypeToken(account.type()), account.currencyCode(),
                      account.balanceStringWithCents(true, locale),
                      account.reconciledBalanceStringWithCents(true, locale),
                      homeFormatter.format(account.balanceInHomeCurrency()),
                      account.isClosed() ? QStringLiteral("yes") : QString()});
    }
    return table.toString();
}

QString AccountCommands::add() {
    m_session.open();
    CliWorkspace& workspace = m_session.workspace();
    const QString type = InputValues::accountType(*m_line.value(QStringLiteral("type")));

    app::AccountSheetModel sheet(workspace, m_session.localeId());
    sheet.setName(*m_line.argument(0));
    sheet.selectTypeTag(app::AccountSheetModel::tagForType(type));
    // The sheet names a nameless account after its type; that name must be free as well.
    const QString name =
        model::TextHelper::isBlank_vt(sheet.name()) ? model::Account::displayNameForType(type) : sheet.name();
    // Accounts are named on the command line, so two of one name could not be told apart.
    if (ObjectLookup(workspace.context()).accountNameTaken(name)) {
        throw UserError(QStringLiteral("An account named %1 already exists").arg(name));
    }
    if (const std::optional<QString> code = m_line.value(QStringLiteral("currency"))) {
        if (!sheet.selectCurrency(code->toUpper())) {
            throw UserError(QStringLiteral("No such currency: %1").arg(*code));
        }
    }
    if (const std::optional<QString> balance = m_line.value(QStringLiteral("start-balance"))) {
        sheet.startBalanceField().setValue(InputValues::amount(*balance));
    }
    std::optional<model::Day> startDate;
    if (const std::optional<QString> date = m_line.value(QStringLiteral("start-date"))) {
        startDate = InputValues::day(*date);
    }

    app::AccountSidebarModel sidebar(workspace, m_session.localeId());
    if (const app::CommandOutcome outcome = sheet.create(sidebar); !outcome.succeeded()) {
        throw UserError(outcome.reason());
    }
    model::Account account(sidebar.selectedAccount());
    if (startDate) {
        account.setStartBalanceDate(*startDate);
    }
    m_session.commit();
    return account.cloudID();
}

QString AccountCommands::remove() {
    if (!m_line.has(QStringLiteral("yes"))) {
        throw UserError(QStringLiteral("Refusing to delete without --yes"));
    }
    m_session.open();
    model::Account account = ObjectLookup(m_session.context()).account(*m_line.argument(0));
    m_session.alerts().answerWith(QStringLiteral("Delete"));
    if (!app::AccountDeletion(m_session.workspace()).run(account)) {
        throw UserError(QStringLiteral("The account was not deleted"));
    }
    m_session.commit();
    return QString();
}

} // namespace vantrel::cli
