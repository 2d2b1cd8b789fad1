#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

namespace vantrel::bench {

// Places a copy of the generated database of `transactions` where the store controller of a
// VANTREL_HOME at `home` looks for it.
bool placeDatabase(const QString& home, std::int64_t transactions);
// Runs vantrel-cli over `home` to its end; true when it exited with 0.
bool runCli(const QString& home, const QStringList& arguments);

} // namespace vantrel::bench
