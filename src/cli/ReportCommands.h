#pragma once

#include "model/Day.h"

#include <QString>
#include <QStringList>

namespace vantrel::objectstore {
class Context;
class ManagedObject;
} // namespace vantrel::objectstore

namespace vantrel::platform {
class Clock;
}

namespace vantrel::cli {

class CliSession;
class CommandLine;

// "report breakdown" and "report trends": the category breakdown of a period and the monthly
// trend series, as JSON or as tables in the home currency.
class ReportCommands {
public:
    ReportCommands(CliSession& session, const CommandLine& line)
        : m_session(session)
        , m_line(line) {}

    QString breakdown();
    QString trends();

    // What the commands print for a database, apart from reading the command line. `group` nullptr
    // folds categories into their groups; a group keeps only its own categories.
    static QString breakdownOutput(objectstore::Context& context, const model::Day& from,
                                   const model::Day& to, objectstore::ManagedObject* group, bool json,
                                   const QString& localeId);
    // `requested` as typed: "balance", "income", "expense" (lower case) or a category's name or
    // cloudID; each series is keyed by the text given. UserError for an unknown category.
    static QString trendsOutput(objectstore::Context& context, const platform::Clock& clock,
                                const QStringList& requested, bool json, const QString& localeId);

private:
    CliSession& m_session;
    const CommandLine& m_line;
};

} // namespace vantrel::cli
