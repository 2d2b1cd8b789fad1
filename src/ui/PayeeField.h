#pragma once

#include <QLineEdit>

namespace vantrel::app {
class TitleCompletionModel;
}

namespace vantrel::ui {

// The payee field of the transaction editor: completes the typed text in place from earlier titles,
// with the completed part selected so typing on replaces it. Deleting never completes, or the user
// could not delete the completed part.
class PayeeField : public QLineEdit {
    Q_OBJECT

public:
    explicit PayeeField(app::TitleCompletionModel& completion, QWidget* parent = nullptr);

    // Shows the completion model's text and selection (after it changed it).
    void showCompletion();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void rememberLengthBeforeEdit();
    void textWasEdited(const QString& text);

    app::TitleCompletionModel& m_completion;
    // The length of the text outside the selection just before an edit: an edit that leaves no more
    // than that removed text (backspace, delete, cut) and must not complete.
    qsizetype m_keptLength = 0;
};

} // namespace vantrel::ui
