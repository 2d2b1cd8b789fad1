#include "cli/CliWorkspace.h"

namespace vantrel::cli {

bool CliWorkspace::saveDatabase() {
    m_saveRequested = true;
    return true;
}

} // namespace vantrel::cli
