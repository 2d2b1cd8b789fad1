#pragma once

#include <QString>

#include <stdexcept>

namespace vantrel::cli {

// Something the user asked for cannot be done (unknown account, bad date, ...). The command stops
// before anything is saved; the message is the one line shown on standard error (exit status 1).
class UserError : public std::runtime_error {
public:
    explicit UserError(const QString& message)
        : std::runtime_error(message.toStdString())
        , m_message(message) {}

    const QString& message() const { return m_message; }

private:
    QString m_message;
};

} // namespace vantrel::cli
