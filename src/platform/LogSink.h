#pragma once

#include <QString>

namespace vantrel::platform {

// Where log lines end up. Log serialises calls, so a sink sees one line at a time; a sink must not
// write to the log itself.
class LogSink {
public:
    virtual ~LogSink() = default;

    virtual void write(const QString& line) = 0;
};

} // namespace vantrel::platform
