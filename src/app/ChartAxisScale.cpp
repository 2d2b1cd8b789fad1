#include "app/ChartAxisScale.h"

#include <algorithm>
#include <cmath>

namespace vantrel::app {

namespace {

// The smallest of 1, 2, 5 and 10 times a power of ten that is at least `rough`.
double roundStep(double rough) {
    const double magnitude = std::pow(10.0, std::floor(std::log10(rough)));
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (factor * magnitude >= rough * (1 - 1e-9)) {
            return factor * magnitude;
        }
    }
    return 10.0 * magnitude;
}

} // namespace

ChartAxisScale ChartAxisScale::forRange(double low, double high, int maximumTicks) {
    if (low > high) {
        std::swap(low, high);
    }
    if (low == high) {
        const double pad = std::max(1.0, std::abs(low) * 0.1);
        low -= pad;
        high += pad;
    }
    const int intervals = std::max(1, maximumTicks - 1);
    double step = std::max(1.0, roundStep((high - low) / intervals));
    // Rounding the ends outwards can need one interval more than allowed: take the next step.
    while (std::ceil(high / step) - std::floor(low / step) > intervals) {
        step = roundStep(step * 1.01);
    }
    return ChartAxisScale{std::floor(low / step) * step, std::ceil(high / step) * step, step};
}

std::vector<double> ChartAxisScale::ticks() const {
    std::vector<double> ticks;
    const auto count = static_cast<long>(std::llround((maximum - minimum) / step));
    for (long index = 0; index <= count; ++index) {
        ticks.push_back(minimum + static_cast<double>(index) * step);
    }
    return ticks;
}

double ChartAxisScale::fraction(double value) const {
    return maximum == minimum ? 0.5 : (value - minimum) / (maximum - minimum);
}

} // namespace vantrel::app
