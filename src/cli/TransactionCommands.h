#pragma once

#include <QString>

namespace vantrel::app {
class RegisterViewModel;
}

namespace vantrel::cli {

class CliSession;
class CommandLine;

// "add", "register", "search" and "transfer": the register, its search and the transfer dialog
// of the application, driven from the command line.
class TransactionCommands {
public:
    TransactionCommands(CliSession& session, const CommandLine& line)
        : m_session(session)
        , m_line(line) {}

    QString add();
    QString showRegister();
    QString search();
    QString transfer();

private:
    // The rows in register order, as JSON or as a table; the balance column only when asked.
    QString rows(const app::RegisterViewModel& view, bool withBalance) const;

    CliSession& m_session;
    const CommandLine& m_line;
};

} // namespace vantrel::cli
