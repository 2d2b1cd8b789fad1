#pragma once

#include <QString>

namespace vantrel::cli {

class CliSession;
class CommandLine;

// The database as files: "init", "status", "backup", "restore" and "dump", through the store
// controller.
class FileCommands {
public:
    FileCommands(CliSession& session, const CommandLine& line)
        : m_session(session)
        , m_line(line) {}

    QString init();
    QString status();
    QString backup();
    QString restore();
    QString dump();

private:
    // Whether the currency list a new database is seeded with has the code.
    static bool seedListOffers(const QString& code);

    CliSession& m_session;
    const CommandLine& m_line;
};

} // namespace vantrel::cli
