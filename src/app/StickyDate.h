#pragma once

#include "model/Day.h"

#include <optional>

namespace vantrel::app {

// The editor's sticky-date option: when on, a new transaction takes the date last entered. It
// outlives any one register, so the window keeps it and hands it to each register's commands.
struct StickyDate {
    bool on = false;
    std::optional<model::Day> lastEntered;
};

} // namespace vantrel::app
