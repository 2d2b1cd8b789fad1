#pragma once

#include <vector>

namespace vantrel::app {

// A value axis with round tick steps (1, 2 or 5 times a power of ten, at least 1) whose ends are
// whole steps around the values it must hold.
struct ChartAxisScale {
    double minimum = 0;
    double maximum = 1;
    double step = 1;

    // An empty range (low == high) is widened so a flat line is drawn mid-height.
    static ChartAxisScale forRange(double low, double high, int maximumTicks = 6);

    // From minimum to maximum, inclusive.
    std::vector<double> ticks() const;
    // Where `value` falls between minimum (0) and maximum (1).
    double fraction(double value) const;

    friend bool operator==(const ChartAxisScale&, const ChartAxisScale&) = default;
};

} // namespace vantrel::app
