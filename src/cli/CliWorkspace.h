#pragma once

#include "app/Workspace.h"

namespace vantrel::cli {

// The workspace of one command. The application's commands save as they go; a command-line run
// saves once at the end instead (CliSession::commit), so an error part-way writes nothing.
class CliWorkspace final : public app::Workspace {
public:
    using app::Workspace::Workspace;

    // Remembers that the command wants its changes kept; writes nothing yet.
    bool saveDatabase() override;
    bool saveWasRequested() const { return m_saveRequested; }
    // The real save.
    bool saveNow() { return app::Workspace::saveDatabase(); }

private:
    bool m_saveRequested = false;
};

} // namespace vantrel::cli
