#pragma once

#include "platform/InternalError.h"

#include <QString>

#include <optional>
#include <utility>

namespace vantrel::model {

enum class ParseOutcome { Value, NoValue, Failure };

// Why text was rejected, for callers that react differently to each (tests, importers).
enum class ParseFailure { None, NotANumber, TrailingText, OutOfRange, NotAWholeNumber, WrongCurrency };

// What reading user text gives: a value; deliberately no value (blank text, a lone minus sign),
// which is a success; or a failure with a reason that can be shown to the user.
template <typename T>
class ParseResult {
public:
    static ParseResult withValue(T value) {
        ParseResult result;
        result.m_value = std::move(value);
        return result;
    }

    static ParseResult noValue() { return ParseResult(); }

    // `position` is the index in the parsed text where reading stopped, -1 when unknown.
    static ParseResult failed(ParseFailure failure, QString reason, qsizetype position = -1) {
        if (failure == ParseFailure::None) {
            throw platform::InternalError("ParseResult::failed needs a failure kind");
        }
        ParseResult result;
        result.m_failure = failure;
        result.m_reason = std::move(reason);
        result.m_errorPosition = position;
        return result;
    }

    ParseOutcome outcome() const {
        if (m_failure != ParseFailure::None) {
            return ParseOutcome::Failure;
        }
        return m_value ? ParseOutcome::Value : ParseOutcome::NoValue;
    }

    bool succeeded() const { return m_failure == ParseFailure::None; }
    bool hasValue() const { return m_value.has_value(); }

    const T& value() const {
        if (!m_value) {
            throw platform::InternalError("ParseResult::value() called on a result without a value");
        }
        return *m_value;
    }

    const std::optional<T>& optionalValue() const { return m_value; }

    ParseFailure failure() const { return m_failure; }
    const QString& reason() const { return m_reason; }
    qsizetype errorPosition() const { return m_errorPosition; }

private:
    ParseResult() = default;

    std::optional<T> m_value;
    ParseFailure m_failure = ParseFailure::None;
    QString m_reason;
    qsizetype m_errorPosition = -1;
};

} // namespace vantrel::model
