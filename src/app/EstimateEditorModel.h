#pragma once

#include "model/Amount.h"
#include "model/CategoryLimit.h"

#include <QString>

namespace vantrel::app {

class Workspace;

// The estimate editor of one category limit: the amount in whole home-currency units, entered for
// the whole period or per month (remembered in the limit), and notes. Saving tells the budget view
// whether the row only takes its new limit or the tables must be tracked again.
class EstimateEditorModel {
public:
    enum class TableEffect {
        // The row stays where it is with its new limit.
        LimitChanged,
        // Expense became income or the other way round: the row belongs to the other table.
        MovedToOtherSide,
        // Nothing booked and the limit moved between zero and non-zero: into or out of "Not Budgeted".
        MovedBetweenBudgetedAndNotBudgeted,
    };

    EstimateEditorModel(Workspace& workspace, const model::CategoryLimit& limit);

    const model::CategoryLimit& limit() const { return m_limit; }
    // "Budget for Groceries".
    QString title() const;
    // "Set the estimated value for this category over the course of a month." ("a year", "3 months").
    QString subtitle() const;
    QString currencyCode() const;
    int months() const { return m_months; }

    bool showMonthlyAmount() const { return m_monthly; }
    // Converts the shown amount to the other mode.
    void setShowMonthlyAmount(bool monthly);
    // In the current mode, whole units.
    const model::Amount& shownAmount() const { return m_shown; }
    // Rounded to whole units (ties away from zero).
    void setShownAmount(const model::Amount& amount);
    // What saving stores: the shown amount, times the months in per-month mode.
    model::Amount amountToSave() const;

    const QString& notes() const { return m_notes; }
    void setNotes(const QString& notes) { m_notes = notes; }

    // Stores amount, notes and mode, saves and refreshes every view.
    TableEffect save();
    static bool needsRetracking(TableEffect effect) { return effect != TableEffect::LimitChanged; }

private:
    model::Amount perMonth(const model::Amount& amount) const;

    Workspace& m_workspace;
    model::CategoryLimit m_limit;
    int m_months = 1;
    bool m_monthly = false;
    model::Amount m_shown;
    QString m_notes;
};

} // namespace vantrel::app
