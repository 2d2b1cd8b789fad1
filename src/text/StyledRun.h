#pragma once

#include <QString>

namespace vantrel::text {

// A stretch of visible text in one style, as produced by MarkupParser.
struct StyledRun {
    QString text;
    bool bold = false;
    bool italic = false;

    bool operator==(const StyledRun& other) const = default;
};

} // namespace vantrel::text
