#pragma once

#include "model/Day.h"
#include "model/IcuBridge.h"
#include "platform/objectstore/ObjectID.h"

#include <QString>

#include <optional>

namespace vantrel::app {

class Workspace;

// The new-budget sheet: name, start and length, preset to the current month. Creating estimates
// every limit from the history, saves and refreshes every view. The first budget ever made is
// followed by a one-time explanation ("Your Budget").
class NewBudgetModel {
public:
    static constexpr auto kInvalidPeriodMessage = "Invalid period";
    static constexpr auto kInvalidPeriodInformative = "Period has to be at least one month.";
    static constexpr auto kHelpTitle = "Your Budget";
    static constexpr auto kHelpMessage = "Vantrel has generated a budget based on your transaction history.";

    NewBudgetModel(Workspace& workspace, const QString& localeId = model::IcuBridge::systemLocaleId());

    const QString& name() const { return m_name; }
    void setName(const QString& name) { m_name = name; }
    const model::Day& startDate() const { return m_start; }
    void setStartDate(const model::Day& start) { m_start = start; }
    int months() const { return m_months; }
    void setMonths(int months) { m_months = months; }

    // The new budget; nothing (after the "Invalid period" alert) when the period is shorter than a
    // month, so the sheet stays open.
    std::optional<objectstore::ObjectID> create();
    // Whether the budget just created was the first one.
    bool createdFirstBudget() const { return m_createdFirst; }
    // True once while "VTShouldShowBudgetHelp" is set; clears it.
    bool takeHelpSheetTurn();

private:
    Workspace& m_workspace;
    QString m_name;
    model::Day m_start;
    int m_months = 1;
    bool m_createdFirst = false;
};

} // namespace vantrel::app
