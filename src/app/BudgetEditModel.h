#pragma once

#include "model/Budget.h"

#include <QString>

#include <cstdint>

namespace vantrel::app {

class Workspace;

// The edit sheet of a budget: its name and start date can change; the length is shown only.
class BudgetEditModel {
public:
    BudgetEditModel(Workspace& workspace, const model::Budget& budget);

    const QString& name() const { return m_name; }
    void setName(const QString& name) { m_name = name; }
    const model::Day& startDate() const { return m_start; }
    void setStartDate(const model::Day& start) { m_start = start; }
    std::int64_t months() const { return m_budget.months().value_or(1); }

    // Writes the name and, when it changed, the start date (the end notice may then show again),
    // saves and refreshes every view.
    void save();

private:
    Workspace& m_workspace;
    model::Budget m_budget;
    QString m_name;
    model::Day m_start;
};

} // namespace vantrel::app
