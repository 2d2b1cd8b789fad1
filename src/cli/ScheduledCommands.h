#pragma once

#include "cli/JsonOutput.h"

#include <QString>

#include <vector>

namespace vantrel::model {
class ScheduledItem;
class Transaction;
} // namespace vantrel::model

namespace vantrel::cli {

class CliSession;
class CommandLine;

// "scheduled list/add/pay/skip/delete" and "projection": the scheduled-items list, its editor,
// the pay sheet and the projection sheet of the application, driven from the command line.
class ScheduledCommands {
public:
    ScheduledCommands(CliSession& session, const CommandLine& line)
        : m_session(session)
        , m_line(line) {}

    QString list();
    QString add();
    QString pay();
    QString skip();
    QString remove();
    QString projection();

private:
    bool wantsJson() const;
    // What the list shows of an item, in the order the JSON keys appear.
    JsonOutput::Fields itemFields(const model::ScheduledItem& item) const;
    // The item as JSON or as "key: value" lines.
    QString itemOutput(const model::ScheduledItem& item) const;
    // Where the item went after a payment or a skip, with the transactions logged (none for a skip).
    QString advanceOutput(const model::ScheduledItem& item, bool removed,
                          const std::vector<model::Transaction>& transactions) const;

    CliSession& m_session;
    const CommandLine& m_line;
};

} // namespace vantrel::cli
