#include "app/TitleCompletionModel.h"

#include "app/SplitEditorModel.h"
#include "app/Workspace.h"
#include "model/TextHelper.h"
#include "model/Transaction.h"

namespace vantrel::app {

TitleCompletionModel::TitleCompletionModel(Workspace& workspace)
    : m_workspace(workspace) {}

void TitleCompletionModel::setText(const QString& text) {
    m_text = text;
    m_completion.clear();
    m_selectionStart = text.size();
    m_selectionLength = 0;
}

void TitleCompletionModel::textEdited(const QString& typed, bool deleted) {
    m_text = typed;
    m_selectionStart = typed.size();
    m_selectionLength = 0;
    if (deleted || typed.isEmpty()) {
        return;
    }
    const QStringList matches = model::Transaction::payeesMatching(m_workspace.context(), typed);
    if (matches.isEmpty()) {
        m_completion.clear();
        return;
    }
    m_completion = matches.front();
    // The typed letters stay as typed; only the rest comes from the suggestion.
    m_text = typed + m_completion.mid(typed.size());
    m_selectionLength = m_text.size() - m_selectionStart;
}

objectstore::ManagedObject* TitleCompletionModel::endEditing(const Editing& editing) {
    if (!m_completion.isEmpty() && m_text.compare(m_completion, Qt::CaseInsensitive) == 0) {
        m_text = m_completion;
    }
    m_selectionStart = m_text.size();
    m_selectionLength = 0;
    if (model::TextHelper::isBlank_vt(m_text)) {
        return nullptr;
    }
    objectstore::Context& context = m_workspace.context();
    SplitEditorModel* categories = editing.categories;
    if (categories && !categories->isSplit() && !categories->singleCategory()) {
        categories->setSingleCategory(model::Transaction::mostUsedCategoryForName(context, m_text));
    }
    if (editing.isNewTransaction && editing.showsAllAccounts) {
        return model::Transaction::mostUsedAccountForName(context, m_text);
    }
    return nullptr;
}

} // namespace vantrel::app
