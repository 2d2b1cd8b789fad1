#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace vantrel::cli {

// One option a command accepts.
struct OptionDefinition {
    QString name; // without the leading "--"
    bool takesValue = false;
    bool repeatable = false;
    bool required = false;
};

// One command: the words that name it ("account add"), how many plain arguments it takes and its
// options. The synopsis is what usage messages and the help show.
struct CommandDefinition {
    QString name;
    QString synopsis;
    int minArguments = 0;
    int maxArguments = 0;
    std::vector<OptionDefinition> options;
};

// The parsed command line: global options, the command and its arguments and options. Parsing
// checks everything the table of commands says (unknown command or option, missing value, missing
// required option, argument count), so commands only interpret values.
class CommandLine {
public:
    // `arguments` excludes the program name. Throws UsageError.
    static CommandLine parse(const QStringList& arguments);
    static const std::vector<CommandDefinition>& commands();
    static QString helpText();

    bool wantsHelp() const { return m_wantsHelp; }
    bool wantsVersion() const { return m_wantsVersion; }
    bool isVerbose() const { return m_verbose; }
    // --home, when given.
    const std::optional<QString>& home() const { return m_home; }

    // "init", "account add", ...; empty with --help or --version alone.
    QString command() const;
    const QStringList& arguments() const { return m_arguments; }
    // The first plain argument, or nothing.
    std::optional<QString> argument(int index) const;

    bool has(const QString& option) const { return m_options.contains(option); }
    // The value of an option given once; nothing when absent.
    std::optional<QString> value(const QString& option) const;
    QStringList values(const QString& option) const { return m_options.value(option); }

    // "Usage: vantrel-cli <synopsis>" of this command.
    QString usage() const;

private:
    const CommandDefinition* m_definition = nullptr;
    bool m_wantsHelp = false;
    bool m_wantsVersion = false;
    bool m_verbose = false;
    std::optional<QString> m_home;
    QStringList m_arguments;
    QMap<QString, QStringList> m_options;
};

} // namespace vantrel::cli
