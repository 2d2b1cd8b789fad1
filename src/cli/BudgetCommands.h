#pragma once

#include <QString>

namespace vantrel::model {
class Budget;
}

namespace vantrel::cli {

class CliSession;
class CommandLine;

// "budget list", "budget add" and "budget show": the sidebar's budgets with their over-budget
// counts, the new-budget sheet and the budget view's two tables.
class BudgetCommands {
public:
    BudgetCommands(CliSession& session, const CommandLine& line)
        : m_session(session)
        , m_line(line) {}

    QString list();
    QString add();
    QString show();

private:
    QString showJson(model::Budget& budget) const;
    QString showText(model::Budget& budget) const;

    CliSession& m_session;
    const CommandLine& m_line;
};

} // namespace vantrel::cli
