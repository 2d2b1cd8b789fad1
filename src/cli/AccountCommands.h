#pragma once

#include <QString>

namespace vantrel::cli {

class CliSession;
class CommandLine;

// "accounts", "account add" and "account delete", through the account sheet and the delete
// command of the application.
class AccountCommands {
public:
    AccountCommands(CliSession& session, const CommandLine& line)
        : m_session(session)
        , m_line(line) {}

    // Each answers what goes to standard output.
    QString list();
    QString add();
    QString remove();

private:
    CliSession& m_session;
    const CommandLine& m_line;
};

} // namespace vantrel::cli
