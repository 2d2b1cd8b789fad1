#include "platform/InternalError.h"

namespace vantrel::platform {

InternalError::InternalError(const QString& message)
    : std::logic_error(message.toStdString()) {}

InternalError::InternalError(const char* message)
    : std::logic_error(message) {}

QString InternalError::message() const {
    return QString::fromUtf8(what());
}

} // namespace vantrel::platform
