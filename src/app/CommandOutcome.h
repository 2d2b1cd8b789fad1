#pragma once

#include <QString>

#include <utility>

namespace vantrel::app {

// What a confirmation did: carried out, or refused with a sentence the window shows next to the
// field at fault. A refused command has written nothing.
class CommandOutcome {
public:
    static CommandOutcome done() { return CommandOutcome(QString()); }
    static CommandOutcome refused(const QString& reason) { return CommandOutcome(reason); }

    bool succeeded() const { return m_reason.isNull(); }
    const QString& reason() const { return m_reason; }

private:
    explicit CommandOutcome(QString reason)
        : m_reason(std::move(reason)) {}

    QString m_reason;
};

} // namespace vantrel::app
