#include "text/RegexError.h"

namespace vantrel::text {

namespace {

RegexError::Kind kindOfMatchFailure(UErrorCode code) {
    switch (code) {
    case U_REGEX_TIME_OUT:
        return RegexError::Kind::TimeOut;
    case U_REGEX_STACK_OVERFLOW:
        return RegexError::Kind::StackOverflow;
    default:
        return RegexError::Kind::MatchFailure;
    }
}

QString describeMatchFailure(RegexError::Kind kind) {
    switch (kind) {
    case RegexError::Kind::TimeOut:
        return QStringLiteral("exceeded its time limit");
    case RegexError::Kind::StackOverflow:
        return QStringLiteral("exceeded its backtracking stack limit");
    default:
        return QStringLiteral("failed while matching");
    }
}

} // namespace

RegexError::RegexError(Kind kind, const QString& pattern, UErrorCode code, int line, int offset,
                       const QString& message)
    : std::runtime_error(message.toStdString())
    , m_kind(kind)
    , m_pattern(pattern)
    , m_errorName(QString::fromLatin1(u_errorName(code)))
    , m_line(line)
    , m_offset(offset) {}

RegexError RegexError::compileFailure(const QString& pattern, UErrorCode code, const UParseError& where) {
    // ICU leaves the position at -1 or 0 for failures it cannot locate (out of memory, ...).
    const int line = where.line > 0 ? where.line : -1;
    const int offset = line > 0 ? where.offset : -1;
    QString message = QStringLiteral("Invalid regular expression \"%1\"").arg(pattern);
    if (line > 0) {
        message += QStringLiteral(" at line %1, offset %2").arg(line).arg(offset);
    }
    message += QStringLiteral(": %1").arg(QString::fromLatin1(u_errorName(code)));
    return RegexError(Kind::InvalidPattern, pattern, code, line, offset, message);
}

RegexError RegexError::matchFailure(const QString& pattern, UErrorCode code) {
    const Kind kind = kindOfMatchFailure(code);
    const QString message =
        QStringLiteral("Regular expression \"%1\" %2: %3")
            .arg(pattern, describeMatchFailure(kind), QString::fromLatin1(u_errorName(code)));
    return RegexError(kind, pattern, code, -1, -1, message);
}

RegexError RegexError::replacementFailure(const QString& pattern, const QString& replacement, UErrorCode code,
                                          qsizetype offset) {
    const QString message =
        QStringLiteral("Invalid replacement \"%1\" for regular expression \"%2\" at offset %3: %4")
            .arg(replacement, pattern)
            .arg(offset)
            .arg(QString::fromLatin1(u_errorName(code)));
    return RegexError(Kind::InvalidReplacement, pattern, code, -1, static_cast<int>(offset), message);
}

} // namespace vantrel::text
