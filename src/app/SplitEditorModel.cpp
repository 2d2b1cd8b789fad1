#include "app/SplitEditorModel.h"

#include "app/Workspace.h"
#include "platform/InternalError.h"

namespace vantrel::app {

SplitEditorModel::SplitEditorModel(Workspace& workspace, const model::Transaction& transaction)
    : m_workspace(workspace)
    , m_transaction(transaction)
    , m_amount(transaction.amount().value_or(model::Amount())) {
    if (transaction.hasSingleCategory()) {
        m_singleCategory = transaction.theCategory();
        return;
    }
    for (const model::PlainSplit& split : transaction.sortedSplits()) {
        m_lines.push_back(SplitLine{split.category, split.amount, false});
    }
}

void SplitEditorModel::setTransactionAmount(const model::Amount& amount) {
    m_amount = amount;
    if (isSplit()) {
        balanceLines();
    }
}

void SplitEditorModel::split() {
    if (isSplit()) {
        return;
    }
    m_lines = {SplitLine{m_singleCategory, m_amount, false}, SplitLine{}};
    m_singleCategory = nullptr;
    m_remainder.reset();
}

void SplitEditorModel::setLineCategory(std::size_t line, objectstore::ManagedObject* category) {
    checkLine(line);
    m_lines[line].category = category;
}

void SplitEditorModel::setLineAmount(std::size_t line, const std::optional<model::Amount>& amount) {
    checkLine(line);
    SplitLine& edited = m_lines[line];
    if (amount != edited.amount) {
        edited.typed = true;
    }
    edited.amount = amount;
    balanceLines();
}

void SplitEditorModel::addLine() {
    if (!isSplit()) {
        throw platform::InternalError(QStringLiteral("a single category has no line to add after"));
    }
    m_lines.push_back(SplitLine{nullptr, model::Amount(), false});
    m_focusedCategoryLine = m_lines.size() - 1;
}

void SplitEditorModel::removeLine(std::size_t line) {
    checkLine(line);
    m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(line));
    if (m_focusedCategoryLine == line) {
        m_focusedCategoryLine.reset();
    } else if (m_focusedCategoryLine && *m_focusedCategoryLine > line) {
        --*m_focusedCategoryLine;
    }
    if (m_lines.size() == 1) {
        collapseToSingle();
        return;
    }
    balanceLines();
}

void SplitEditorModel::save() {
    m_transaction.setAmount(m_amount);
    if (isSplit()) {
        std::vector<model::PlainSplit> pairs;
        for (const SplitLine& line : m_lines) {
            pairs.push_back(model::PlainSplit{line.category, line.amount.value_or(model::Amount())});
        }
        m_transaction.setMultipleCategoriesAndAmounts(pairs);
    } else {
        m_transaction.setSingleCategory(m_singleCategory);
    }
    m_workspace.postCategoriesChanged();
    // Lines the user left unbalanced keep their amounts; the difference becomes a line of its own.
    m_transaction.fixSplitsIfNecessary();
}

void SplitEditorModel::checkLine(std::size_t line) const {
    if (line >= m_lines.size()) {
        throw platform::InternalError(
            QStringLiteral("no category line %1 among %2").arg(line).arg(m_lines.size()));
    }
}

void SplitEditorModel::balanceLines() {
    const model::Amount difference = m_amount - sumOfLines();
    m_remainder.reset();
    if (difference.isZero()) {
        return;
    }
    SplitLine& last = m_lines.back();
    if (last.typed) {
        m_remainder = difference;
        return;
    }
    last.amount = last.amount.value_or(model::Amount()) + difference;
}

void SplitEditorModel::collapseToSingle() {
    m_singleCategory = m_lines.front().category;
    m_lines.clear();
    m_remainder.reset();
    m_focusedCategoryLine.reset();
}

model::Amount SplitEditorModel::sumOfLines() const {
    model::Amount sum;
    for (const SplitLine& line : m_lines) {
        sum = sum + line.amount.value_or(model::Amount());
    }
    return sum;
}

} // namespace vantrel::app
