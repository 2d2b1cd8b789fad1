#pragma once

#include "app/BreakdownLegendRow.h"
#include "app/BreakdownPeriod.h"
#include "app/BreakdownPeriodMenu.h"
#include "app/BreakdownSlice.h"
#include "app/BreakdownTransactionRow.h"
#include "model/CurrencyFormatter.h"
#include "model/IcuBridge.h"
#include "platform/objectstore/ObjectID.h"
#include "reports/Breakdown.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace vantrel::app {

class Workspace;

// What the breakdown view shows: the period and its menu, the expense or income side as pie slices
// and legend rows, the totals bar, drilling into a category group and back, the transactions behind
// a selected entry, and the texts of the two CSV exports.
class BreakdownViewModel {
public:
    static constexpr int kMaximumSlices = 8;
    static constexpr auto kOtherName = "Other";
    static constexpr auto kOtherColor = "D8D8D8";
    // Slice colours in order: blue, yellow, pink, teal, orange, purple, green, red.
    static const QStringList& palette();

    // Starts on the current month's expense side, at the top level. Nothing is computed before
    // reload().
    explicit BreakdownViewModel(Workspace& workspace, QString localeId = model::IcuBridge::systemLocaleId());

    // Saves the context, then recomputes what is shown, keeping the drilled group and the selection
    // where they still exist.
    void reload();

    const BreakdownPeriod& period() const { return m_period; }
    QString title() const;
    // A new period shows its expense side at the top level.
    void setPeriod(const BreakdownPeriod& period);
    void showPrevious() { setPeriod(m_period.previous()); }
    void showNext() { setPeriod(m_period.next()); }
    // Every month of the report range, grouped per year, newest first.
    BreakdownPeriodMenu periodMenu() const;

    bool showsIncome() const { return m_showsIncome; }
    // Switches the side, back at the top level.
    void setShowsIncome(bool income);

    // Of the top level, whatever is drilled into: "Expense: %@" and "Income: %@".
    QString expenseText() const;
    QString incomeText() const;
    // The bar comparing them: each side's magnitude as a share of both; both 0 when there is none.
    float expenseShare() const;
    float incomeShare() const;

    const std::vector<BreakdownSlice>& slices() const { return m_slices; }
    // The total of the entries shown (the side, or the group drilled into), in the home currency.
    QString shownTotal() const;
    const std::vector<BreakdownLegendRow>& legend() const { return m_legend; }

    // "Expense" or "Income".
    QString sideTitle() const;
    // "All Categories" at the top level; "**%@** (%.0f%% of total)" inside a group.
    QString breadcrumbMarkup() const;
    bool isDrilledIn() const { return drilledGroup() != nullptr; }
    objectstore::ManagedObject* drilledGroup() const;
    // Only the groups of the top level can be drilled into.
    bool canDrillInto(int legendRow) const;
    bool drillInto(int legendRow);
    void backToTop();

    // The selection is an entry of the legend or a slice of the pie ("Other" stands for the rest).
    void selectLegendRow(int row);
    void selectSlice(int slice);
    void clearSelection();
    bool hasSelection() const { return m_selection.has_value(); }
    // The legend row of a one-entry selection.
    std::optional<int> selectedLegendRow() const;
    // The slice the selection is drawn in.
    std::optional<int> selectedSlice() const;
    // The selected entry's name, "Other", or empty.
    QString selectionTitle() const;
    // The transactions behind the selection in the period, newest first.
    const std::vector<objectstore::ManagedObject*>& selectedTransactions() const { return m_transactions; }
    const std::vector<BreakdownTransactionRow>& transactionRows() const { return m_transactionRows; }

    // The side shown, one line per category (groups unfolded).
    QString breakdownExportFileName() const;
    QString breakdownExportText() const;
    // Only a single category (or the uncategorised entry) has lines of its own to export.
    bool canExportSelectedTransactions() const;
    QString transactionsExportFileName() const;
    QString transactionsExportText() const;
    // Write an export to `path` (".csv" added when it has no such extension). A file that cannot be
    // written is reported in an alert and leaves any existing file as it was.
    static constexpr auto kExportFailedMessage = "The export could not be saved.";
    bool saveBreakdownExport(const QString& path) const;
    bool saveTransactionsExport(const QString& path) const;

private:
    struct Selection {
        std::vector<objectstore::ManagedObject*> keys;
        bool isOther = false;
    };

    static bool isGroup(const objectstore::ManagedObject* key);
    bool write(QString path, const QString& text) const;
    const reports::BreakdownTable& shownSide() const;
    const reports::BreakdownTable& topSide() const;
    model::CurrencyFormatter homeFormatter() const;
    void recompute();
    void rebuildRows();
    void keepSelectionIfShown();
    void loadTransactions();
    std::optional<int> legendRowOf(const objectstore::ManagedObject* key) const;

    Workspace& m_workspace;
    QString m_localeId;
    BreakdownPeriod m_period;
    bool m_showsIncome = false;
    // By id: a group deleted elsewhere does not outlive the next save.
    std::optional<objectstore::ObjectID> m_group;
    reports::Breakdown m_top;
    reports::Breakdown m_shown;
    std::vector<BreakdownSlice> m_slices;
    std::vector<BreakdownLegendRow> m_legend;
    std::optional<Selection> m_selection;
    std::vector<objectstore::ManagedObject*> m_transactions;
    std::vector<BreakdownTransactionRow> m_transactionRows;
};

} // namespace vantrel::app
