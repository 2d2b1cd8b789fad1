#include "cli/CommandLine.h"

#include "cli/UsageError.h"

#include <algorithm>

namespace vantrel::cli {

namespace {

OptionDefinition flag(const char* name) {
    return OptionDefinition{QString::fromLatin1(name), false, false, false};
}

OptionDefinition valued(const char* name) {
    return OptionDefinition{QString::fromLatin1(name), true, false, false};
}

OptionDefinition required(const char* name) {
    return OptionDefinition{QString::fromLatin1(name), true, false, true};
}

OptionDefinition repeated(const char* name) {
    return OptionDefinition{QString::fromLatin1(name), true, true, false};
}

// Words that only open a group of commands ("account add", "currency list").
bool isGroupWord(const QString& word) {
    return word == u"account" || word == u"currency" || word == u"scheduled" || word == u"budget" ||
           word == u"report";
}

const QString kHelpHint = QStringLiteral("Run 'vantrel-cli --help' for usage.");

} // namespace

const std::vector<CommandDefinition>& CommandLine::commands() {
    static const std::vector<CommandDefinition> table = {
        {"init", "init [--currency CODE]", 0, 0, {valued("currency")}},
        {"status", "status [--json]", 0, 0, {flag("json")}},
        {"accounts", "accounts [--json]", 0, 0, {flag("json")}},
        {"account add",
         "account add NAME --type TYPE [--currency CODE] [--start-balance AMOUNT] [--start-date DATE]",
         1,
         1,
         {required("type"), valued("currency"), valued("start-balance"), valued("start-date")}},
        {"account delete", "account delete NAME --yes", 1, 1, {flag("yes")}},
        {"add",
         "add --account A --date D --amount X [--payee P] [--category C | --split C=X ...] [--notes N] "
         "[--check N] [--cleared]",
         0,
         0,
         {required("account"), required("date"), required("amount"), valued("payee"), valued("category"),
          repeated("split"), valued("notes"), valued("check"), flag("cleared")}},
        {"register", "register [ACCOUNT] [--json]", 0, 1, {flag("json")}},
        {"search", "search TEXT [--account A] [--json]", 1, 1, {valued("account"), flag("json")}},
        {"transfer",
         "transfer --from A --to B --amount X [--category C] [--title T] [--date D]",
         0,
         0,
         {required("from"), required("to"), required("amount"), valued("category"), valued("title"),
          valued("date")}},
        {"currency list", "currency list [--json]", 0, 0, {flag("json")}},
        {"currency home", "currency home CODE", 1, 1, {}},
        {"currency update", "currency update FILE", 1, 1, {}},
        {"backup", "backup [--force]", 0, 0, {flag("force")}},
        {"restore", "restore ZIP", 1, 1, {}},
        {"dump", "dump [--out FILE]", 0, 0, {valued("out")}},
        {"import-bank",
         "import-bank FILE --account A [--date-order MDY|DMY|YMD] [--statement N] "
         "[--csv-map FIELD=COLUMN,... [--header] [--sign-column|--deposit-withdrawal]] [--json]",
         1,
         1,
         {required("account"), valued("date-order"), valued("statement"), valued("csv-map"), flag("header"),
          flag("sign-column"), flag("deposit-withdrawal"), flag("json")}},
        {"import-app",
         "import-app FILE [--account A] [--date-order MDY|DMY|YMD] "
         "[--csv-map FIELD=COLUMN,... [--header] [--sign-column|--deposit-withdrawal]] [--json]",
         1,
         1,
         {valued("account"), valued("date-order"), valued("csv-map"), flag("header"), flag("sign-column"),
          flag("deposit-withdrawal"), flag("json")}},
        {"export",
         "export ACCOUNT --csv|--qif [--out FILE]",
         1,
         1,
         {flag("csv"), flag("qif"), valued("out")}},
        {"scheduled list", "scheduled list [--json]", 0, 0, {flag("json")}},
        {"scheduled add",
         "scheduled add [--title T] [--account A] [--amount X] [--date D] [--repeat week|month|none] "
         "[--interval N] [--on RULE,...] [--ends-after N] [--to-account B] [--category C] "
         "[--reminder-days N] [--notes N] [--json]",
         0,
         0,
         {valued("title"), valued("account"), valued("amount"), valued("date"), valued("repeat"),
          valued("interval"), valued("on"), valued("ends-after"), valued("to-account"), valued("category"),
          valued("reminder-days"), valued("notes"), flag("json")}},
        {"scheduled pay",
         "scheduled pay ITEM [--date D] [--amount X] [--category C] [--notes N] [--json]",
         1,
         1,
         {valued("date"), valued("amount"), valued("category"), valued("notes"), flag("json")}},
        {"scheduled skip", "scheduled skip ITEM [--json]", 1, 1, {flag("json")}},
        {"scheduled delete", "scheduled delete ITEM", 1, 1, {}},
        {"projection", "projection [ACCOUNT] [--json]", 0, 1, {flag("json")}},
        {"budget list", "budget list [--json]", 0, 0, {flag("json")}},
        {"budget add",
         "budget add NAME [--start D] [--months N] [--json]",
         1,
         1,
         {valued("start"), valued("months"), flag("json")}},
        {"budget show", "budget show NAME [--json]", 1, 1, {flag("json")}},
        {"report breakdown",
         "report breakdown --from D --to D [--group G] [--json]",
         0,
         0,
         {required("from"), required("to"), valued("group"), flag("json")}},
        {"report trends",
         "report trends [--series balance,income,expense,CATEGORY,...] [--json]",
         0,
         0,
         {valued("series"), flag("json")}},
    };
    return table;
}

QString CommandLine::helpText() {
    QStringList lines{
        QStringLiteral("Usage: vantrel-cli [--home DIR] [--verbose] COMMAND [ARGUMENTS] [OPTIONS]"),
        QString(),
        QStringLiteral("Commands:"),
    };
    for (const CommandDefinition& definition : commands()) {
        lines.append(QStringLiteral("  ") + definition.synopsis);
    }
    lines << QString() << QStringLiteral("Global options:")
          << QStringLiteral("  --home DIR   keep every file below DIR (overrides VANTREL_HOME)")
          << QStringLiteral("  --verbose    copy the application's log lines to standard error")
          << QStringLiteral("  --help       show this text")
          << QStringLiteral("  --version    show the version") << QString() << QStringLiteral("Values:")
          << QStringLiteral("  Dates are YYYY-MM-DD, amounts plain decimals (-12.5, 1200). Accounts and")
          << QStringLiteral("  categories are named by name (letter case ignored) or by cloudID.")
          << QStringLiteral("  In JSON output amounts are strings with two decimals.")
          << QStringLiteral("  --csv-map names the column of each field, counting from 1: date, payee,")
          << QStringLiteral("  amount, sign, deposit, withdrawal, category, notes, check (for example")
          << QStringLiteral("  date=1,payee=3,amount=4). import-bank remembers it on the account.")
          << QStringLiteral("  Scheduled items are named by title (letter case ignored) or by cloudID,")
          << QStringLiteral("  budgets by name or cloudID. scheduled add --on lists the days a repeating")
          << QStringLiteral("  item falls on: weekdays (sun, mon, ... or sunday, ...) for --repeat week,")
          << QStringLiteral("  days of the month (1 to 31, last) for --repeat month. A transfer amount")
          << QStringLiteral("  (--to-account) may be written with or without its minus sign.")
          << QStringLiteral("  scheduled add alone makes a monthly \"New Transaction\" due today from the")
          << QStringLiteral("  first account, for no amount.")
          << QStringLiteral("  projection covers today and the next 36 months; its JSON is an object with")
          << QStringLiteral("  \"title\", \"currency\" (of the balances) and \"rows\" (date, payee,")
          << QStringLiteral("  amount, currency, balance).")
          << QStringLiteral("  report breakdown folds categories into their groups unless --group names")
          << QStringLiteral("  one; its totals are the sums of the entries shown. report trends --series")
          << QStringLiteral("  takes balance, income and expense (in lower case) and categories by name")
          << QStringLiteral("  or cloudID; its JSON keys are the texts given.") << QString()
          << QStringLiteral("Environment:")
          << QStringLiteral("  VANTREL_HOME     the root of every file (as --home)")
          << QStringLiteral("  VANTREL_CLI_NOW  an ISO 8601 instant (2024-03-05T12:00:00Z) used as the")
          << QStringLiteral("                   current time, for reproducible scripts and tests")
          << QString() << QStringLiteral("Exit status: 0 success, 1 user error, 2 usage error.");
    return lines.join(u'\n') + u'\n';
}

CommandLine CommandLine::parse(const QStringList& arguments) {
    CommandLine line;
    if (arguments.contains(QStringLiteral("--help")) || arguments.contains(QStringLiteral("-h"))) {
        line.m_wantsHelp = true;
        return line;
    }
    if (arguments.contains(QStringLiteral("--version"))) {
        line.m_wantsVersion = true;
        return line;
    }

    QStringList words;
    QStringList rest;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& token = arguments[i];
        if (optionsEnded || !token.startsWith(u"--") || token.size() == 2) {
            if (token == u"--" && !optionsEnded) {
                optionsEnded = true;
                rest.append(token);
                continue;
            }
            const bool wantsWord =
                words.isEmpty() || (words.size() == 1 && isGroupWord(words.first()) && !optionsEnded);
            if (wantsWord && !optionsEnded) {
                words.append(token);
            } else {
                rest.append(token);
            }
            continue;
        }
        // Global options may stand anywhere.
        const qsizetype equals = token.indexOf(u'=');
        const QString name = token.mid(2, equals < 0 ? -1 : equals - 2);
        if (name == u"home") {
            if (equals >= 0) {
                line.m_home = token.mid(equals + 1);
            } else if (i + 1 < arguments.size()) {
                line.m_home = arguments[++i];
            } else {
                throw UsageError(QStringLiteral("Missing value for --home. ") + kHelpHint);
            }
            continue;
        }
        if (name == u"verbose" && equals < 0) {
            line.m_verbose = true;
            continue;
        }
        if (words.isEmpty()) {
            throw UsageError(QStringLiteral("Unknown option: --%1. ").arg(name) + kHelpHint);
        }
        rest.append(token);
        // A value may look like an option ("--amount -12.5" is fine, so is "--notes --x").
        if (equals < 0 && i + 1 < arguments.size()) {
            const QString joined = words.join(u' ');
            const auto definition =
                std::find_if(commands().begin(), commands().end(),
                             [&](const CommandDefinition& c) { return c.name == joined; });
            if (definition != commands().end()) {
                const auto option = std::find_if(definition->options.begin(), definition->options.end(),
                                                 [&](const OptionDefinition& o) { return o.name == name; });
                if (option != definition->options.end() && option->takesValue) {
                    rest.append(arguments[++i]);
                }
            }
        }
    }

    if (words.isEmpty()) {
        throw UsageError(QStringLiteral("No command given. ") + kHelpHint);
    }
    const QString joined = words.join(u' ');
    const auto definition = std::find_if(commands().begin(), commands().end(),
                                         [&](const CommandDefinition& c) { return c.name == joined; });
    if (definition == commands().end()) {
        throw UsageError(QStringLiteral("Unknown command: %1. ").arg(joined) + kHelpHint);
    }
    line.m_definition = &*definition;

    optionsEnded = false;
    for (qsizetype i = 0; i < rest.size(); ++i) {
        const QString& token = rest[i];
        if (optionsEnded || !token.startsWith(u"--") || token.size() == 2) {
            if (token == u"--" && !optionsEnded) {
                optionsEnded = true;
                continue;
            }
            line.m_arguments.append(token);
            continue;
        }
        const qsizetype equals = token.indexOf(u'=');
        const QString name = token.mid(2, equals < 0 ? -1 : equals - 2);
        const auto option = std::find_if(definition->options.begin(), definition->options.end(),
                                         [&](const OptionDefinition& o) { return o.name == name; });
        if (option == definition->options.end()) {
            throw UsageError(QStringLiteral("Unknown option for %1: --%2. ").arg(joined, name) +
                             line.usage());
        }
        QString value;
        if (option->takesValue) {
            if (equals >= 0) {
                value = token.mid(equals + 1);
            } else if (i + 1 < rest.size()) {
                value = rest[++i];
            } else {
                throw UsageError(QStringLiteral("Missing value for --%1. ").arg(name) + line.usage());
            }
        } else if (equals >= 0) {
            throw UsageError(QStringLiteral("--%1 takes no value. ").arg(name) + line.usage());
        }
        if (line.m_options.contains(name) && !option->repeatable) {
            throw UsageError(QStringLiteral("--%1 given twice. ").arg(name) + line.usage());
        }
        line.m_options[name].append(value);
    }

    for (const OptionDefinition& option : definition->options) {
        if (option.required && !line.m_options.contains(option.name)) {
            throw UsageError(QStringLiteral("Missing --%1. ").arg(option.name) + line.usage());
        }
    }
    const auto count = line.m_arguments.size();
    if (count < definition->minArguments) {
        throw UsageError(QStringLiteral("Missing argument. ") + line.usage());
    }
    if (count > definition->maxArguments) {
        throw UsageError(
            QStringLiteral("Unexpected argument: %1. ").arg(line.m_arguments[definition->maxArguments]) +
            line.usage());
    }
    return line;
}

QString CommandLine::command() const {
    return m_definition == nullptr ? QString() : m_definition->name;
}

std::optional<QString> CommandLine::argument(int index) const {
    if (index < 0 || index >= m_arguments.size()) {
        return std::nullopt;
    }
    return m_arguments[index];
}

std::optional<QString> CommandLine::value(const QString& option) const {
    const auto found = m_options.constFind(option);
    if (found == m_options.constEnd() || found->isEmpty()) {
        return std::nullopt;
    }
    return found->first();
}

QString CommandLine::usage() const {
    return QStringLiteral("Usage: vantrel-cli ") +
           (m_definition == nullptr ? QStringLiteral("COMMAND") : m_definition->synopsis);
}

} // namespace vantrel::cli
