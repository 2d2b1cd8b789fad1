#include "platform/LogCapture.h"

#include "platform/Log.h"

#include <QMutexLocker>

namespace vantrel::platform {

LogCapture::LogCapture() {
    Log::installSink(*this);
}

LogCapture::~LogCapture() {
    Log::removeSink(*this);
}

void LogCapture::write(const QString& line) {
    QMutexLocker lock(&m_mutex);
    m_lines.append(line);
}

QStringList LogCapture::lines() const {
    QMutexLocker lock(&m_mutex);
    return m_lines;
}

} // namespace vantrel::platform
