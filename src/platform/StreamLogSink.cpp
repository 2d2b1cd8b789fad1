#include "platform/StreamLogSink.h"

namespace vantrel::platform {

StreamLogSink::StreamLogSink(std::FILE* stream, const Clock& clock)
    : m_stream(stream)
    , m_clock(clock) {}

void StreamLogSink::write(const QString& line) {
    const QString stamp = m_clock.now().toTimeZone(m_clock.timeZone()).toString(Qt::ISODateWithMs);
    const QByteArray bytes = (stamp + QLatin1Char(' ') + line + QLatin1Char('\n')).toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), m_stream);
    // The log matters most just before a crash, so nothing may wait in a buffer.
    std::fflush(m_stream);
}

} // namespace vantrel::platform
