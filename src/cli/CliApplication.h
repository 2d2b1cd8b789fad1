#pragma once

#include <QString>
#include <QStringList>

#include <memory>

namespace vantrel::platform {
class Clock;
}

namespace vantrel::cli {

// One run of vantrel-cli: parses the arguments, picks the root and the clock, runs the command and
// turns its outcome into output and an exit status (0 done, 1 user error, 2 usage error, 70 an
// internal fault). Standard output is written only when the command succeeds.
class CliApplication {
public:
    static constexpr int kSuccess = 0;
    static constexpr int kUserError = 1;
    static constexpr int kUsageError = 2;
    static constexpr int kInternalError = 70;
    static constexpr auto kNowVariable = "VANTREL_CLI_NOW";

    explicit CliApplication(QString version)
        : m_version(std::move(version)) {}

    int run(const QStringList& arguments);

    // The system clock, or one fixed at VANTREL_CLI_NOW when that is set (UserError when it is not
    // an ISO 8601 instant).
    static std::unique_ptr<platform::Clock> clockFromEnvironment();

private:
    QString m_version;
};

} // namespace vantrel::cli
