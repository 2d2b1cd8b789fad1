#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <optional>

namespace vantrel::platform::testing {

// Sets (or, given nullopt, unsets) one environment variable and puts the old state back afterwards,
// so a test never leaks its environment into the next.
class ScopedEnvironmentVariable {
public:
    ScopedEnvironmentVariable(const char* name, const std::optional<QByteArray>& value)
        : m_name(name)
        , m_previous(qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt) {
        apply(value);
    }

    ~ScopedEnvironmentVariable() { apply(m_previous); }

    Q_DISABLE_COPY_MOVE(ScopedEnvironmentVariable)

private:
    void apply(const std::optional<QByteArray>& value) const {
        if (value) {
            qputenv(m_name, *value);
        } else {
            qunsetenv(m_name);
        }
    }

    const char* m_name;
    std::optional<QByteArray> m_previous;
};

} // namespace vantrel::platform::testing
