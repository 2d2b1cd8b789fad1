#pragma once

#include "app/SplitLine.h"
#include "model/Amount.h"
#include "model/Transaction.h"

#include <optional>
#include <vector>

namespace vantrel::app {

class Workspace;

// The category lines of the transaction editor: one category, or several lines whose amounts add
// up to the transaction amount. The last line soaks up any difference until the user types into
// it; from then on the difference is shown as a remainder instead.
class SplitEditorModel {
public:
    SplitEditorModel(Workspace& workspace, const model::Transaction& transaction);

    bool isSplit() const { return !m_lines.empty(); }

    // Single category.
    objectstore::ManagedObject* singleCategory() const { return m_singleCategory; }
    void setSingleCategory(objectstore::ManagedObject* category) { m_singleCategory = category; }

    const model::Amount& transactionAmount() const { return m_amount; }
    void setTransactionAmount(const model::Amount& amount);

    // The "split" command: the single category becomes a line with the whole amount, followed by
    // an empty uncategorised line.
    void split();
    const std::vector<SplitLine>& lines() const { return m_lines; }
    void setLineCategory(std::size_t line, objectstore::ManagedObject* category);
    // The line's field now holds `amount` (nothing when emptied).
    void setLineAmount(std::size_t line, const std::optional<model::Amount>& amount);
    // The add button of the last line: a line of 0 whose category field takes the focus.
    void addLine();
    // The line whose category field should have the focus, if any.
    std::optional<std::size_t> focusedCategoryLine() const { return m_focusedCategoryLine; }
    // The remove button of a line; with one line left the editor shows a single category again.
    void removeLine(std::size_t line);
    // The difference the lines leave once the user typed into the last one; nothing when it is
    // shown nowhere (no difference, or the last line took it).
    const std::optional<model::Amount>& remainder() const { return m_remainder; }

    // Writes the amount and the lines to the transaction and posts the category change. Saving
    // the database is left to the editor, which writes its other fields too.
    void save();

private:
    void checkLine(std::size_t line) const;
    void balanceLines();
    void collapseToSingle();
    model::Amount sumOfLines() const;

    Workspace& m_workspace;
    model::Transaction m_transaction;
    model::Amount m_amount;
    objectstore::ManagedObject* m_singleCategory = nullptr;
    std::vector<SplitLine> m_lines;
    std::optional<model::Amount> m_remainder;
    std::optional<std::size_t> m_focusedCategoryLine;
};

} // namespace vantrel::app
