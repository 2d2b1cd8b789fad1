#include "cli/CurrencyCommands.h"

#include "app/CurrenciesPaneModel.h"
#include "cli/CliSession.h"
#include "cli/CommandLine.h"
#include "cli/JsonOutput.h"
#include "cli/TextTable.h"
#include "cli/UserError.h"
#include "model/Currency.h"
#include "model/CurrencyList.h"
#include "model/Global.h"
#include "platform/PropertyList.h"

#include <QFile>

namespace vantrel::cli {

QString CurrencyCommands::list() {
    m_session.open();
    CliWorkspace& workspace = m_session.workspace();
    objectstore::Context& context = workspace.context();
    const QString home = model::Global::sharedInstanceInContext(context).homeCurrencyCode();
    // The home currency menu's order: the home currency first, then by name.
    const app::CurrenciesPaneModel pane(workspace, m_session.localeId());
    const bool json = m_line.has(QStringLiteral("json"));
    std::vector<JsonOutput::Fields> rows;
    TextTable table({{QStringLiteral("Code")},
                     {QStringLiteral("Name")},
                     {QStringLiteral("Rate"), TextTable::Align::Right},
                     {QStringLiteral("Home")}});
    for (const app::CurrenciesPaneModel::MenuItem& item : pane.homeCurrencyMenu()) {
        const std::optional<model::Currency> currency = model::Currency::withCode(context, item.code);
        if (!currency) {
            continue;
        }
        const std::optional<model::Amount> rate = currency->rate();
        const bool isHome = currency->code() == home;
        if (json) {
            rows.push_back(
                {{QStringLiteral("code"), JsonOutput::string(currency->code())},
                 {QStringLiteral("name"), JsonOutput::string(currency->name())},
                 {QStringLiteral("rate"), rate ? JsonOutput::string(rate->toString()) : JsonOutput::null()},
                 {QStringLiteral("home"), JsonOutput::boolean(isHome)}});
        } else {
            table.addRow({currency->code(), currency->name(), rate ? rate->toString() : QString(),
                          isHome ? QStringLiteral("yes") : QString()});
        }
    }
    return json ? JsonOutput::array(rows) : table.toString();
}

QString CurrencyCommands::setHome() {
    m_session.open();
    CliWorkspace& workspace = m_session.workspace();
    const QString code = m_line.argument(0)->toUpper();
    if (!model::Currency::withCode(workspace.context(), code)) {
        throw UserError(QStringLiteral("No such currency: %1").arg(*m_line.argument(0)));
    }
    app::CurrenciesPaneModel(workspace, m_session.localeId()).changeHomeCurrency(code);
    m_session.commit();
    return QString();
}

QString CurrencyCommands::update() {
    const QString path = *m_line.argument(0);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw UserError(QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()));
    }
    const QByteArray data = file.readAll();
    // The model quietly ignores anything that is not a list (it may come from the network); a
    // file named by the user deserves an answer.
    const platform::PropertyList::ReadResult read = platform::PropertyList::read(data);
    if (!read.ok() || read.value.typeId() != QMetaType::QVariantMap ||
        read.value.toMap().value(QStringLiteral("rates")).typeId() != QMetaType::QVariantList) {
        throw UserError(QStringLiteral("Not a currency list: %1").arg(path));
    }
    m_session.open();
    model::CurrencyList::updateCurrenciesInContext(m_session.context(), data, m_session.defaults());
    m_session.commit();
    return QString();
}

} // namespace vantrel::cli
