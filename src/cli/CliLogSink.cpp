#include "cli/CliLogSink.h"

#include <cstdio>

namespace vantrel::cli {

void CliLogSink::write(const QString& line) {
    if (m_verbose) {
        std::fprintf(stderr, "%s\n", line.toUtf8().constData());
    }
}

} // namespace vantrel::cli
