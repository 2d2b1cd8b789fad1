#pragma once

#include <QString>

namespace vantrel::objectstore {
class ManagedObject;
}

namespace vantrel::app {

class SplitEditorModel;
class Workspace;

// The payee field of the transaction editor: completes the typed text in place from earlier
// titles, and when editing ends settles the title's spelling and suggests the category and, for a
// new transaction in the all-accounts view, the account.
class TitleCompletionModel {
public:
    // What the editor is editing, for the suggestions made when the title is done.
    struct Editing {
        SplitEditorModel* categories = nullptr;
        bool isNewTransaction = false;
        bool showsAllAccounts = false;
    };

    explicit TitleCompletionModel(Workspace& workspace);

    // The user changed the field to `typed`; `deleted` when the change was a deletion, which never
    // completes (or the user could not delete the completed part).
    void textEdited(const QString& typed, bool deleted);
    // Starts from a stored title, with nothing to complete.
    void setText(const QString& text);

    const QString& text() const { return m_text; }
    // The completed part is selected, so typing on replaces it.
    qsizetype selectionStart() const { return m_selectionStart; }
    qsizetype selectionLength() const { return m_selectionLength; }
    const QString& completion() const { return m_completion; }

    // Editing of the title ends: a title equal to the completion but for letter case takes the
    // completion's spelling; then the single category (when none was chosen) and, for a new
    // transaction in the all-accounts view, the account are suggested from earlier transactions
    // of that title. Returns the suggested account, or nullptr.
    objectstore::ManagedObject* endEditing(const Editing& editing);

private:
    Workspace& m_workspace;
    QString m_text;
    QString m_completion;
    qsizetype m_selectionStart = 0;
    qsizetype m_selectionLength = 0;
};

} // namespace vantrel::app
