#pragma once

#include <QString>

#include <stdexcept>

namespace vantrel::cli {

// The command line itself is wrong: unknown command or option, missing argument. Exit status 2
// with a one-line message that ends in the command's usage.
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const QString& message)
        : std::runtime_error(message.toStdString())
        , m_message(message) {}

    const QString& message() const { return m_message; }

private:
    QString m_message;
};

} // namespace vantrel::cli
