#pragma once

#include <QString>

#include <stdexcept>

namespace vantrel::platform {

// A condition only a programming fault can cause. The application's top level logs it and stops;
// tests catch it. Never used for bad input, which is reported as a value or a named reader failure.
class InternalError : public std::logic_error {
public:
    explicit InternalError(const QString& message);
    explicit InternalError(const char* message);

    QString message() const;
};

} // namespace vantrel::platform
