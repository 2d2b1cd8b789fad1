#pragma once

#include "text/RegexOptions.h"

#include <QString>

#include <unicode/regex.h>

#include <memory>

namespace vantrel::text {

// An ICU pattern compiled once and never modified afterwards, so any number of threads may create
// matchers from it at the same time. Internal to the text layer; callers use Regex.
class CompiledPattern {
public:
    // Throws RegexError when the pattern does not compile.
    static std::shared_ptr<const CompiledPattern> compile(QStringView pattern, RegexOptions options);

    CompiledPattern(const CompiledPattern&) = delete;
    CompiledPattern& operator=(const CompiledPattern&) = delete;

    const QString& source() const { return m_source; }
    RegexOptions options() const { return m_options; }
    const icu::RegexPattern& icuPattern() const { return *m_pattern; }
    // Capture groups, not counting the whole match.
    int captureCount() const { return m_captureCount; }
    // -1 when the pattern has no group of that name.
    int groupNumber(QStringView name) const;

private:
    CompiledPattern(QString source, RegexOptions options, std::unique_ptr<icu::RegexPattern> pattern,
                    int captureCount);

    QString m_source;
    RegexOptions m_options;
    std::unique_ptr<icu::RegexPattern> m_pattern;
    int m_captureCount;
};

} // namespace vantrel::text
