#include "model/AmountFieldModel.h"

#include <algorithm>

namespace vantrel::model {

namespace {

constexpr int kCents = 2;

} // namespace

AmountFieldModel::AmountFieldModel(const QString& localeId)
    : m_formatter(localeId) {
    m_formatter.setAssumesNegative(m_shouldAssumeSign);
    m_formatter.setFractionDigits(places());
}

void AmountFieldModel::setShouldAssumeSign(bool shouldAssumeSign) {
    m_shouldAssumeSign = shouldAssumeSign;
    m_formatter.setAssumesNegative(shouldAssumeSign);
}

void AmountFieldModel::setNoCents(bool noCents) {
    m_noCents = noCents;
    m_formatter.setFractionDigits(places());
}

int AmountFieldModel::places() const {
    return m_noCents ? 0 : kCents;
}

void AmountFieldModel::setSelection(qsizetype start, qsizetype length) {
    m_selectionStart = std::clamp<qsizetype>(start, 0, m_text.size());
    m_selectionLength = std::clamp<qsizetype>(length, 0, m_text.size() - m_selectionStart);
}

QString AmountFieldModel::displayText(const Amount& value) const {
    if (m_shouldAssumeSign && value.rounded(places()).isZero()) {
        return m_formatter.minusSign();
    }
    return m_formatter.format(value);
}

void AmountFieldModel::setValue(const Amount& value) {
    setText(displayText(value));
}

void AmountFieldModel::focusIn() {
    if (m_text.isEmpty() && m_shouldAssumeSign) {
        m_text = m_formatter.minusSign();
    }
    const qsizetype minus = IcuBridge::leadingMinusLength(m_text);
    setSelection(minus, m_text.size() - minus);
}

void AmountFieldModel::focusOut() {
    const ParseResult<Amount> parsed = parsedValue();
    if (parsed.hasValue()) {
        setValue(parsed.value());
    }
    setSelection(m_text.size(), 0);
}

void AmountFieldModel::insert(const QString& typed) {
    m_text.replace(m_selectionStart, m_selectionLength, typed);
    m_selectionStart += typed.size();
    m_selectionLength = 0;
}

void AmountFieldModel::backspace() {
    if (m_selectionLength > 0) {
        m_text.remove(m_selectionStart, m_selectionLength);
        m_selectionLength = 0;
        return;
    }
    if (m_selectionStart == 0) {
        return;
    }
    // A character outside the Basic Multilingual Plane is two UTF-16 units; remove both.
    qsizetype count = 1;
    if (m_selectionStart >= 2 && m_text[m_selectionStart - 1].isLowSurrogate() &&
        m_text[m_selectionStart - 2].isHighSurrogate()) {
        count = 2;
    }
    m_selectionStart -= count;
    m_text.remove(m_selectionStart, count);
}

void AmountFieldModel::setText(const QString& text) {
    m_text = text;
    m_selectionStart = m_text.size();
    m_selectionLength = 0;
}

ParseResult<Amount> AmountFieldModel::parsedValue() const {
    return m_formatter.parse(m_text);
}

std::optional<Amount> AmountFieldModel::interpretedAmount() const {
    const ParseResult<Amount> parsed = parsedValue();
    if (!parsed.succeeded()) {
        return std::nullopt;
    }
    if (!parsed.hasValue()) {
        return Amount();
    }
    return parsed.value().rounded(places());
}

} // namespace vantrel::model
