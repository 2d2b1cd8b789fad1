#include "ui/AmountLineEdit.h"

#include <QFocusEvent>
#include <QPalette>

namespace vantrel::ui {

AmountLineEdit::AmountLineEdit(QWidget* parent, const QString& localeId)
    : QLineEdit(parent)
    , m_field(localeId) {
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    connect(this, &QLineEdit::textEdited, this, &AmountLineEdit::textWasEdited);
}

std::optional<model::Amount> AmountLineEdit::value() const {
    const model::ParseResult<model::Amount> parsed = m_field.parsedValue();
    if (!parsed.hasValue()) {
        return std::nullopt;
    }
    return m_field.interpretedAmount();
}

bool AmountLineEdit::isValid() const {
    return m_field.parsedValue().succeeded();
}

void AmountLineEdit::setValue(const std::optional<model::Amount>& value) {
    if (value) {
        m_field.setValue(*value);
    } else {
        m_field.setText(QString());
    }
    showFieldText();
    showValidity();
}

void AmountLineEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    m_field.setText(text());
    m_field.focusIn();
    showFieldText();
    setSelection(m_field.selectionStart(), m_field.selectionLength());
}

void AmountLineEdit::focusOutEvent(QFocusEvent* event) {
    m_field.setText(text());
    m_field.focusOut();
    showFieldText();
    QLineEdit::focusOutEvent(event);
}

void AmountLineEdit::showFieldText() {
    if (text() != m_field.text()) {
        setText(m_field.text());
    }
}

void AmountLineEdit::textWasEdited(const QString& text) {
    m_field.setText(text);
    showValidity();
    if (isValid()) {
        emit valueEdited(value());
    }
}

void AmountLineEdit::showValidity() {
    // Text that is not an amount stays for the user to correct, marked so it is noticed.
    const bool valid = isValid();
    setToolTip(valid ? QString() : tr("This is not an amount."));
    QPalette colors = palette();
    colors.setColor(QPalette::Text, valid ? QPalette().color(QPalette::Text) : QColor(Qt::red));
    setPalette(colors);
}

} // namespace vantrel::ui
