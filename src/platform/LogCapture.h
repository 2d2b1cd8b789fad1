#pragma once

#include "platform/LogSink.h"

#include <QMutex>
#include <QStringList>

namespace vantrel::platform {

// Collects the log's lines for as long as it lives, in place of the sink installed before it.
class LogCapture final : public LogSink {
public:
    LogCapture();
    ~LogCapture() override;
    Q_DISABLE_COPY_MOVE(LogCapture)

    void write(const QString& line) override;
    QStringList lines() const;

private:
    mutable QMutex m_mutex;
    QStringList m_lines;
};

} // namespace vantrel::platform
