#include "platform/Log.h"

#include "platform/Clock.h"
#include "platform/StreamLogSink.h"

#include <QMutex>
#include <QMutexLocker>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace vantrel::platform {

namespace {

struct SinkStack {
    QMutex mutex;
    StreamLogSink standardError{stderr, Clock::system()};
    std::vector<LogSink*> installed;
};

SinkStack& sinks() {
    static SinkStack stack;
    return stack;
}

} // namespace

void Log::write(const QString& line) {
    // The sink is called under the lock, so removeSink() cannot return while a line is still being
    // written into the sink it removes, and lines from different threads never interleave.
    SinkStack& stack = sinks();
    QMutexLocker lock(&stack.mutex);
    LogSink* sink = stack.installed.empty() ? &stack.standardError : stack.installed.back();
    sink->write(line);
}

void Log::installSink(LogSink& sink) {
    SinkStack& stack = sinks();
    QMutexLocker lock(&stack.mutex);
    stack.installed.push_back(&sink);
}

void Log::removeSink(LogSink& sink) {
    SinkStack& stack = sinks();
    QMutexLocker lock(&stack.mutex);
    const auto found = std::find(stack.installed.rbegin(), stack.installed.rend(), &sink);
    if (found != stack.installed.rend()) {
        stack.installed.erase(std::next(found).base());
    }
}

} // namespace vantrel::platform
