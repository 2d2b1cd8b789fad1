#pragma once

#include "platform/objectstore/Value.h"

#include <cstddef>

namespace vantrel::objectstore {

// The natural order of values used by sorting, maximums and the indexes: absent first, then by
// type (in the order of the Value alternatives), then by value (strings by code unit, decimals
// numerically, dates as instants). Returns <0, 0 or >0.
int compareValues(const Value& a, const Value& b);

// A hash consistent with sameValue: values that are the same hash alike.
std::size_t hashValue(const Value& value);

struct ValueHash {
    std::size_t operator()(const Value& value) const { return hashValue(value); }
};

struct SameValue {
    bool operator()(const Value& a, const Value& b) const { return sameValue(a, b); }
};

} // namespace vantrel::objectstore
