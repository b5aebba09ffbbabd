#include "basic_numbers.h"

#include <cmath>
#include <algorithm>
#include <cstdint>
#include <vector>
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

// As printf's "%1.2f" writes it: the exact binary value rounded to hundredths,
// a tie to the even one. Done by hand because printf's floating-point code is
// a tenth of the editor's size budget.
std::string twoDecimals(double value) {
    if (std::isnan(value)) return "nan";
    const std::string sign = std::signbit(value) ? "-" : "";
    const double size = std::fabs(value);
    if (std::isinf(size)) return sign + "inf";
    int exponent = 0;
    // size = mantissa * 2^shift exactly, with a 53-bit mantissa.
    const auto mantissa = static_cast<std::uint64_t>(std::ldexp(std::frexp(size, &exponent), 53));
    const int shift = exponent - 53;
    if (shift > 0) {
        // A whole number far beyond any multiplier: its digits in base 10^9,
        // least significant first, doubled `shift` times.
        std::vector<std::uint32_t> limbs{static_cast<std::uint32_t>(mantissa % 1000000000),
                                         static_cast<std::uint32_t>(mantissa / 1000000000)};
        for (int i = 0; i < shift; ++i) {
            std::uint32_t carry = 0;
            for (std::uint32_t& limb : limbs) {
                const std::uint32_t doubled = limb * 2 + carry;
                carry = doubled >= 1000000000 ? 1 : 0;
                limb = doubled - carry * 1000000000;
            }
            if (carry) limbs.push_back(carry);
        }
        while (limbs.size() > 1 && limbs.back() == 0) limbs.pop_back();
        std::string digits = std::to_string(limbs.back());
        for (std::size_t i = limbs.size() - 1; i-- > 0;) {
            const std::string part = std::to_string(limbs[i]);
            digits += std::string(9 - part.size(), '0') + part;
        }
        return sign + digits + ".00";
    }
    std::uint64_t hundredths = mantissa * 100;
    if (shift < 0 && -shift < 64) {
        const std::uint64_t scaled = hundredths;  // below 2^60
        const std::uint64_t half = std::uint64_t{1} << (-shift - 1);
        const std::uint64_t rest = scaled & ((half << 1) - 1);
        hundredths = scaled >> -shift;
        if (rest > half || (rest == half && (hundredths & 1))) ++hundredths;
    } else if (shift < 0) {
        hundredths = 0;  // below 2^60 / 2^64: nearer zero than a hundredth's half
    }
    const unsigned cents = static_cast<unsigned>(hundredths % 100);
    return sign + std::to_string(hundredths / 100) + (cents < 10 ? ".0" : ".") + std::to_string(cents);
}

std::int32_t twoDecimalsStored(const std::string& text) {
    // "-1.25": the sign, the whole part and exactly two decimals, as
    // twoDecimals writes them.
    const bool negative = !text.empty() && text[0] == '-';
    long long hundredths = 0;
    for (char c : text)
        if (c >= '0' && c <= '9') hundredths = std::min(hundredths * 10 + (c - '0'), 1LL << 50);
    // Cut toward zero as multiplierStored cuts; no hundredth lies nearer than
    // 1/25 to a whole 65536th, so this is the strtod route's result exactly.
    const long long raw = hundredths * 16384 / 25;
    const long long held = std::min<long long>(raw, negative ? 1LL << 31 : (1LL << 31) - 1);
    return static_cast<std::int32_t>(negative ? -held : held);
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
