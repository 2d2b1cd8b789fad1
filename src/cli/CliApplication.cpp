#include "cli/CliApplication.h"

#include "cli/AccountCommands.h"
#include "cli/BudgetCommands.h"
#include "cli/CliLogSink.h"
#include "cli/CliSession.h"
#include "cli/CommandLine.h"
#include "cli/CurrencyCommands.h"
#include "cli/FileCommands.h"
#include "cli/ImportCommands.h"
#include "cli/ReportCommands.h"
#include "cli/ScheduledCommands.h"
#include "cli/TransactionCommands.h"
#include "cli/UsageError.h"
#include "cli/UserError.h"
#include "model/IcuBridge.h"
#include "platform/Clock.h"
#include "platform/InternalError.h"
#include "platform/Log.h"
#include "platform/Paths.h"

#include <QDateTime>

#include <cstdio>
#include <functional>
#include <map>

namespace vantrel::cli {

namespace {

void print(std::FILE* stream, const QString& text) {
    if (text.isEmpty()) {
        return;
    }
    const QByteArray bytes = (text.endsWith(u'\n') ? text : text + u'\n').toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
    std::fflush(stream);
}

// Keeps the application's log away from standard error for the length of the run.
class LogSinkInstallation {
public:
    explicit LogSinkInstallation(platform::LogSink& sink)
        : m_sink(sink) {
        platform::Log::installSink(m_sink);
    }
    ~LogSinkInstallation() { platform::Log::removeSink(m_sink); }
    LogSinkInstallation(const LogSinkInstallation&) = delete;
    LogSinkInstallation& operator=(const LogSinkInstallation&) = delete;

private:
    platform::LogSink& m_sink;
};

QString runCommand(CliSession& session, const CommandLine& line) {
    using Command = std::function<QString()>;
    AccountCommands accounts(session, line);
    TransactionCommands transactions(session, line);
    CurrencyCommands currencies(session, line);
    FileCommands files(session, line);
    ImportCommands imports(session, line);
    ScheduledCommands scheduled(session, line);
    BudgetCommands budgets(session, line);
    ReportCommands reports(session, line);
    const std::map<QString, Command> table{
        {QStringLiteral("init"), [&] { return files.init(); }},
        {QStringLiteral("status"), [&] { return files.status(); }},
        {QStringLiteral("backup"), [&] { return files.backup(); }},
        {QStringLiteral("restore"), [&] { return files.restore(); }},
        {QStringLiteral("dump"), [&] { return files.dump(); }},
        {QStringLiteral("accounts"), [&] { return accounts.list(); }},
        {QStringLiteral("account add"), [&] { return accounts.add(); }},
        {QStringLiteral("account delete"), [&] { return accounts.remove(); }},
        {QStringLiteral("add"), [&] { return transactions.add(); }},
        {QStringLiteral("register"), [&] { return transactions.showRegister(); }},
        {QStringLiteral("search"), [&] { return transactions.search(); }},
        {QStringLiteral("transfer"), [&] { return transactions.transfer(); }},
        {QStringLiteral("currency list"), [&] { return currencies.list(); }},
        {QStringLiteral("currency home"), [&] { return currencies.setHome(); }},
        {QStringLiteral("currency update"), [&] { return currencies.update(); }},
        {QStringLiteral("import-bank"), [&] { return imports.importBank(); }},
        {QStringLiteral("import-app"), [&] { return imports.importApp(); }},
        {QStringLiteral("export"), [&] { return imports.exportAccount(); }},
        {QStringLiteral("scheduled list"), [&] { return scheduled.list(); }},
        {QStringLiteral("scheduled add"), [&] { return scheduled.add(); }},
        {QStringLiteral("scheduled pay"), [&] { return scheduled.pay(); }},
        {QStringLiteral("scheduled skip"), [&] { return scheduled.skip(); }},
        {QStringLiteral("scheduled delete"), [&] { return scheduled.remove(); }},
        {QStringLiteral("projection"), [&] { return scheduled.projection(); }},
        {QStringLiteral("budget list"), [&] { return budgets.list(); }},
        {QStringLiteral("budget add"), [&] { return budgets.add(); }},
        {QStringLiteral("budget show"), [&] { return budgets.show(); }},
        {QStringLiteral("report breakdown"), [&] { return reports.breakdown(); }},
        {QStringLiteral("report trends"), [&] { return reports.trends(); }},
    };
    const auto command = table.find(line.command());
    if (command == table.end()) {
        throw platform::InternalError(QStringLiteral("no handler for the command %1").arg(line.command()));
    }
    return command->second();
}

} // namespace

std::unique_ptr<platform::Clock> CliApplication::clockFromEnvironment() {
    const QString now = qEnvironmentVariable(kNowVariable);
    if (now.isEmpty()) {
        return std::make_unique<platform::SystemClock>();
    }
    const QDateTime instant = QDateTime::fromString(now, Qt::ISODateWithMs);
    if (!instant.isValid()) {
        throw UserError(
            QStringLiteral("%1 is not an ISO 8601 instant: %2").arg(QLatin1String(kNowVariable), now));
    }
    return std::make_unique<platform::FixedClock>(instant, QTimeZone::systemTimeZone());
}

int CliApplication::run(const QStringList& arguments) {
    try {
        const CommandLine line = CommandLine::parse(arguments);
        if (line.wantsHelp()) {
            print(stdout, CommandLine::helpText());
            return kSuccess;
        }
        if (line.wantsVersion()) {
            print(stdout, QStringLiteral("vantrel-cli %1").arg(m_version));
            return kSuccess;
        }
        CliLogSink sink(line.isVerbose());
        const LogSinkInstallation installation(sink);
        const std::unique_ptr<platform::Clock> clock = clockFromEnvironment();
        const platform::Paths paths =
            line.home() ? platform::Paths::underRoot(*line.home()) : platform::Paths::fromEnvironment();
        QString output;
        {
            CliSession session(paths, *clock, model::IcuBridge::systemLocaleId());
            output = runCommand(session, line);
        }
        print(stdout, output);
        return kSuccess;
    } catch (const UsageError& error) {
        print(stderr, error.message());
        return kUsageError;
    } catch (const UserError& error) {
        print(stderr, error.message());
        return kUserError;
    } catch (const platform::InternalError& error) {
        // A programming fault: say so and stop; nothing was saved after it.
        print(stderr, QStringLiteral("vantrel-cli stopped after an internal error: %1").arg(error.message()));
        return kInternalError;
    }
}

} // namespace vantrel::cli
