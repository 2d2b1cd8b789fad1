#pragma once

#include "platform/LogSink.h"

namespace vantrel::cli {

// The application's log lines would break the one-line error promise on standard error: they are
// dropped unless --verbose asks for them.
class CliLogSink final : public platform::LogSink {
public:
    explicit CliLogSink(bool verbose)
        : m_verbose(verbose) {}
    void write(const QString& line) override;

private:
    bool m_verbose;
};

} // namespace vantrel::cli
