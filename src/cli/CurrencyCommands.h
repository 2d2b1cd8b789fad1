#pragma once

#include <QString>

namespace vantrel::cli {

class CliSession;
class CommandLine;

// "currency list", "currency home" and "currency update": the currency list and the home currency
// as the Currencies pane keeps them.
class CurrencyCommands {
public:
    CurrencyCommands(CliSession& session, const CommandLine& line)
        : m_session(session)
        , m_line(line) {}

    QString list();
    QString setHome();
    QString update();

private:
    CliSession& m_session;
    const CommandLine& m_line;
};

} // namespace vantrel::cli
