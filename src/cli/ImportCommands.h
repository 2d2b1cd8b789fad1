#pragma once

#include "import/AccountDictionary.h"

#include <QString>

namespace vantrel::model {
class Account;
}

namespace vantrel::cli {

class CliSession;
class CommandLine;

// Files in and out: "import-bank" (a bank's activity file merged into one account, with duplicate
// detection and matching of pending transactions), "import-app" (another program's export) and
// "export" (one account as CSV or QIF).
class ImportCommands {
public:
    ImportCommands(CliSession& session, const CommandLine& line)
        : m_session(session)
        , m_line(line) {}

    QString importBank();
    QString importApp();
    QString exportAccount();

private:
    import::AccountDictionary readBankFile(const QString& path, model::Account& account);
    import::AccountDictionary readBankCsv(const QString& path, model::Account& account);
    void chooseStatement(import::AccountDictionary& dictionary) const;
    QString importAppQif(const QString& path);
    QString importAppCsv(const QString& path);

    CliSession& m_session;
    const CommandLine& m_line;
};

} // namespace vantrel::cli
