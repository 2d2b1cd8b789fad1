#pragma once

#include "model/Amount.h"
#include "model/AmountFormatter.h"
#include "model/IcuBridge.h"
#include "model/ParseResult.h"

#include <QString>

#include <optional>

namespace vantrel::model {

// What the amount entry field of every editor does, without a widget. By default amounts are
// expenses: focusing an empty field pre-fills a minus sign with the caret after it, so typing
// "12.50" enters -12.50, and deleting the minus first enters +12.50. The widget forwards focus,
// typing and deletion here and shows text() and the selection.
class AmountFieldModel {
public:
    explicit AmountFieldModel(const QString& localeId = IcuBridge::systemLocaleId());

    // Default true; also makes the formatter show zero as an expense.
    bool shouldAssumeSign() const { return m_shouldAssumeSign; }
    void setShouldAssumeSign(bool shouldAssumeSign);
    // Default false; true shows and rounds to whole units.
    bool noCents() const { return m_noCents; }
    void setNoCents(bool noCents);

    const AmountFormatter& formatter() const { return m_formatter; }

    const QString& text() const { return m_text; }
    qsizetype selectionStart() const { return m_selectionStart; }
    qsizetype selectionLength() const { return m_selectionLength; }
    // The caret sits at the end of the selection.
    qsizetype cursorPosition() const { return m_selectionStart + m_selectionLength; }
    // Clamped to the text.
    void setSelection(qsizetype start, qsizetype length);

    // Shows `value`; zero (after rounding to the shown places) shows as a lone minus sign when
    // the sign is assumed.
    void setValue(const Amount& value);
    // The field gains focus: pre-fills the minus sign of an empty field that assumes the sign,
    // then selects what follows a leading minus sign, or everything.
    void focusIn();
    // Editing ends: text that reads as an amount is shown formatted; other text stays for the
    // user to correct.
    void focusOut();

    // Typed or pasted text replaces the selection; the caret ends up after it.
    void insert(const QString& typed);
    // Deletes the selection, or else the character before the caret.
    void backspace();
    // Replaces the whole text (paste over everything, or a program setting it); caret at the
    // end.
    void setText(const QString& text);

    // The text as the formatter reads it, unrounded.
    ParseResult<Amount> parsedValue() const;
    // The value rounded plain to 2 places (0 with noCents); zero when the field is empty or
    // holds only a minus sign; nothing when the text is not an amount.
    std::optional<Amount> interpretedAmount() const;

private:
    int places() const;
    QString displayText(const Amount& value) const;

    AmountFormatter m_formatter;
    QString m_text;
    qsizetype m_selectionStart = 0;
    qsizetype m_selectionLength = 0;
    bool m_shouldAssumeSign = true;
    bool m_noCents = false;
};

} // namespace vantrel::model
