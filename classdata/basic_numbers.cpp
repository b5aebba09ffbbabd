#include "basic_numbers.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace kestrane {

namespace {

constexpr double kScale = kMultiplierOne;
constexpr double kLowest = std::numeric_limits<std::int32_t>::min();
constexpr double kHighest = std::numeric_limits<std::int32_t>::max();

// The number times 65536, cut toward zero; not yet held to 32 bits.
double scaledToward0(double number) { return std::trunc(number * kScale); }

}  // namespace

double multiplierNumber(std::int32_t fixed) { return fixed / kScale; }

std::string twoDecimals(double value) {
    // Room for any multiplier the tally or a 16.16 value gives ("-32768.00").
    char buf[48];
    std::snprintf(buf, sizeof buf, "%1.2f", value);
    return buf;
}

std::string rangeText(long long first, long long last) {
    return std::to_string(first) + " to " + std::to_string(last);
}

std::string multiplierShown(std::int32_t fixed) { return twoDecimals(multiplierNumber(fixed)); }

std::int32_t multiplierStored(double number) {
    if (!std::isfinite(number)) return 0;
    const double raw = scaledToward0(number);
    if (raw > kHighest) return std::numeric_limits<std::int32_t>::max();
    if (raw < kLowest) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(raw);
}

bool multiplierFits(double number, std::int32_t& fixed) {
    if (!std::isfinite(number)) return false;
    const double raw = scaledToward0(number);
    if (raw < kLowest || raw > kHighest) return false;
    fixed = static_cast<std::int32_t>(raw);
    return true;
}

}  // namespace kestrane
