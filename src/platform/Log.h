#pragma once

#include "platform/LogSink.h"

#include <QString>

namespace vantrel::platform {

// The application's log: one line per event, no levels. Lines go to the most recently installed
// sink still installed, else to standard error. Safe to use from any thread.
class Log {
public:
    Log() = delete;

    // The line is kept exactly as given.
    static void write(const QString& line);

    // The sink must stay alive until it is removed; sinks may be removed in any order.
    static void installSink(LogSink& sink);
    static void removeSink(LogSink& sink);
};

} // namespace vantrel::platform
