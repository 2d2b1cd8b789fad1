#pragma once

#include "platform/Clock.h"
#include "platform/LogSink.h"

#include <cstdio>

namespace vantrel::platform {

// Writes each line to a C stream as UTF-8, after the local time it was written at.
class StreamLogSink final : public LogSink {
public:
    StreamLogSink(std::FILE* stream, const Clock& clock);

    void write(const QString& line) override;

private:
    std::FILE* m_stream;
    const Clock& m_clock;
};

} // namespace vantrel::platform
