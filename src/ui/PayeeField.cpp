#include "ui/PayeeField.h"

#include "app/TitleCompletionModel.h"

#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>

namespace vantrel::ui {

PayeeField::PayeeField(app::TitleCompletionModel& completion, QWidget* parent)
    : QLineEdit(parent)
    , m_completion(completion) {
    connect(this, &QLineEdit::textEdited, this, &PayeeField::textWasEdited);
}

void PayeeField::showCompletion() {
    if (text() != m_completion.text()) {
        setText(m_completion.text());
    }
    if (m_completion.selectionLength() > 0) {
        setSelection(static_cast<int>(m_completion.selectionStart()),
                     static_cast<int>(m_completion.selectionLength()));
    } else {
        setCursorPosition(static_cast<int>(m_completion.selectionStart()));
    }
}

void PayeeField::keyPressEvent(QKeyEvent* event) {
    rememberLengthBeforeEdit();
    QLineEdit::keyPressEvent(event);
}

void PayeeField::inputMethodEvent(QInputMethodEvent* event) {
    rememberLengthBeforeEdit();
    QLineEdit::inputMethodEvent(event);
}

void PayeeField::contextMenuEvent(QContextMenuEvent* event) {
    rememberLengthBeforeEdit();
    QLineEdit::contextMenuEvent(event);
}

void PayeeField::rememberLengthBeforeEdit() {
    m_keptLength = text().size() - selectedText().size();
}

void PayeeField::textWasEdited(const QString& text) {
    const bool deleted = text.size() <= m_keptLength;
    m_completion.textEdited(text, deleted);
    // Only a completion changes the text; otherwise the caret stays where the user put it.
    if (m_completion.text() != text) {
        showCompletion();
    }
    rememberLengthBeforeEdit();
}

} // namespace vantrel::ui
