#include "cli/FileCommands.h"

#include "app/CurrenciesPaneModel.h"
#include "cli/CliSession.h"
#include "cli/CommandLine.h"
#include "cli/JsonOutput.h"
#include "cli/UserError.h"
#include "model/CurrencyList.h"
#include "model/Global.h"
#include "platform/PropertyList.h"
#include "platform/objectstore/Context.h"
#include "store/DatabaseMetadata.h"

#include <QFile>
#include <QFileInfo>

namespace vantrel::cli {

bool FileCommands::seedListOffers(const QString& code) {
    QFile file(model::CurrencyList::defaultCurrenciesPath());
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const platform::PropertyList::ReadResult read = platform::PropertyList::read(file.readAll());
    const QVariantList rates = read.value.toMap().value(QStringLiteral("rates")).toList();
    return std::any_of(rates.begin(), rates.end(), [&](const QVariant& entry) {
        return entry.toMap().value(QStringLiteral("code")).toString() == code;
    });
}

QString FileCommands::init() {
    store::CoreDataController& controller = m_session.controller();
    if (controller.hasLocalContent()) {
        throw UserError(QStringLiteral("A database already exists: %1").arg(m_session.databaseFilePath()));
    }
    // Checked before anything is written, so a mistyped code leaves no database behind.
    std::optional<QString> code = m_line.value(QStringLiteral("currency"));
    if (code) {
        *code = code->toUpper();
        if (!seedListOffers(*code)) {
            throw UserError(
                QStringLiteral("No such currency: %1").arg(*m_line.value(QStringLiteral("currency"))));
        }
    }
    m_session.load();
    if (code) {
        app::CurrenciesPaneModel(m_session.workspace(), m_session.localeId()).changeHomeCurrency(*code);
    }
    m_session.commit();
    return m_session.databaseFilePath();
}

QString FileCommands::status() {
    m_session.open();
    objectstore::Context& context = m_session.context();
    const std::optional<int> version =
        store::DatabaseMetadata::defaultMetadata(m_session.paths().databaseFolder()).dataCompatibilityVersion;
    const auto count = [&](const char16_t* entity) {
        return static_cast<std::int64_t>(context.count(entity));
    };
    const QString database = m_session.databaseFilePath();
    const QString home = model::Global::sharedInstanceInContext(context).homeCurrencyCode();
    const std::int64_t accounts = count(u"Account");
    const std::int64_t transactions = count(u"Transaction");
    const std::int64_t categories = count(u"Category");
    const std::int64_t currencies = count(u"Currency");

    if (m_line.has(QStringLiteral("json"))) {
        return JsonOutput::object({
            {QStringLiteral("database"), JsonOutput::string(database)},
            {QStringLiteral("compatibilityVersion"),
             version ? JsonOutput::number(*version) : JsonOutput::null()},
            {QStringLiteral("homeCurrency"), JsonOutput::string(home)},
            {QStringLiteral("accounts"), JsonOutput::number(accounts)},
            {QStringLiteral("transactions"), JsonOutput::number(transactions)},
            {QStringLiteral("categories"), JsonOutput::number(categories)},
            {QStringLiteral("currencies"), JsonOutput::number(currencies)},
        });
    }
    return QStringList{
        QStringLiteral("database: %1").arg(database),
        QStringLiteral("compatibilityVersion: %1")
            .arg(version ? QString::number(*version) : QStringLiteral("none")),
        QStringLiteral("homeCurrency: %1").arg(home),
        QStringLiteral("accounts: %1").arg(accounts),
        QStringLiteral("transactions: %1").arg(transactions),
        QStringLiteral("categories: %1").arg(categories),
        QStringLiteral("currencies: %1").arg(currencies),
    }
        .join(u'\n');
}

QString FileCommands::backup() {
    m_session.open();
    store::CoreDataController& controller = m_session.controller();
    if (m_line.has(QStringLiteral("force"))) {
        const std::optional<QString> archive = controller.backup();
        if (!archive) {
            throw UserError(QStringLiteral("The backup could not be written"));
        }
        return *archive;
    }
    return controller.performBackup().value_or(QStringLiteral("No backup due."));
}

QString FileCommands::restore() {
    const QString zip = *m_line.argument(0);
    if (!QFileInfo(zip).isFile()) {
        throw UserError(QStringLiteral("No such file: %1").arg(zip));
    }
    store::CoreDataController& controller = m_session.controller();
    if (!controller.acquireInstanceLock()) {
        throw UserError(QString::fromLatin1(store::CoreDataController::kAnotherCopyMessage));
    }
    // The import never overwrites; say why before trying.
    const QString folder = m_session.paths().databaseFolder();
    for (const QString& name : store::CoreDataController::databaseFileNames()) {
        if (QFileInfo::exists(folder + u'/' + name)) {
            throw UserError(
                QStringLiteral("A database already exists in %1; restore needs a home without one")
                    .arg(folder));
        }
    }
    if (!controller.importVantrelArchiveFromZip(zip)) {
        throw UserError(QStringLiteral("Not a database archive: %1").arg(zip));
    }
    return m_session.databaseFilePath();
}

QString FileCommands::dump() {
    m_session.open();
    store::CoreDataController& controller = m_session.controller();
    if (const std::optional<QString> out = m_line.value(QStringLiteral("out"))) {
        if (!controller.dumpDataBaseAt(*out)) {
            throw UserError(QStringLiteral("Cannot write the dump to %1").arg(*out));
        }
        return *out;
    }
    return controller.dumpDatabase();
}

} // namespace vantrel::cli
