// The Basic Info numbers as the record holds them: the advancement
// multiplier in 16.16 fixed point, and the bounds the editor's controls keep
// them to. The page, the tally, the findings and classcfg all convert and
// bound them through these.
#ifndef KESTRANE_BASIC_NUMBERS_H
#define KESTRANE_BASIC_NUMBERS_H

#include <cstdint>
#include <string>

namespace kestrane {

// 1.00 in 16.16 fixed point.
constexpr std::int32_t kMultiplierOne = 0x10000;

// The arrows stop at these; a typed or read value may lie beyond them.
constexpr std::uint16_t kAttributeMax = 99;
constexpr std::uint16_t kHitPointsMax = 999;
// The open engine holds a live attribute to this in play (DaggerfallStats.cs
// GetLiveStatValue, FormulaHelper.MaxStatValue()).
constexpr std::uint16_t kEngineAttributeMax = 100;
// The multiplier's four-character field and its arrows stay within 0 to this.
constexpr std::int32_t kMultiplierMax = 10 * kMultiplierOne;

// The number a 16.16 value stands for: fixed / 65536.0.
double multiplierNumber(std::int32_t fixed);

// A number with two decimals ("%1.2f"), as the editor shows a multiplier.
std::string twoDecimals(double value);
// What multiplierStored makes of a number twoDecimals wrote.
std::int32_t twoDecimalsStored(const std::string& text);
// "4 to 30": a range as the messages name it.
std::string rangeText(long long first, long long last);
// The editor's text of a 16.16 value: two decimals of multiplierNumber.
std::string multiplierShown(std::int32_t fixed);

// What the editor stores for a typed number: times 65536, cut toward zero,
// held to the signed 32-bit range; infinity or not-a-number gives 0.
std::int32_t multiplierStored(double number);
// The same conversion without holding: false when the number is not finite
// or its 16.16 value does not fit 32 bits.
bool multiplierFits(double number, std::int32_t& fixed);

}  // namespace kestrane

#endif
