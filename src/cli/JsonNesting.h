#pragma once

#include "cli/JsonOutput.h"

#include <QString>

#include <vector>

namespace vantrel::cli {

// Lists inside the JSON objects of JsonOutput: the planning and report commands print objects that
// hold lists of rows. Values are encoded as JsonOutput encodes them.
class JsonNesting {
public:
    JsonNesting() = delete;

    // [{...}, {...}] on one line.
    static QString inlineArray(const std::vector<JsonOutput::Fields>& rows);
    // One row per line, indented to sit as a value of JsonOutput::object; "[]" when empty.
    static QString indentedArray(const std::vector<JsonOutput::Fields>& rows);
    // {"key": value, ...} with one key per line, indented like indentedArray.
    static QString indentedObject(const JsonOutput::Fields& fields);
};

} // namespace vantrel::cli
