#pragma once

#include <QStringList>

#include <vector>

namespace vantrel::import {

// A comma-separated file split into rows of field texts, in file order.
using CsvRows = std::vector<QStringList>;

} // namespace vantrel::import
