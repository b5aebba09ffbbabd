// The Basic Info page's number rules: how its fields show and read back
// numbers, and how the arrows step them.
#ifndef KESTRANE_BASIC_INFO_RULES_H
#define KESTRANE_BASIC_INFO_RULES_H

#include <cstddef>
#include <cstdint>
#include <string>

namespace kestrane {

// Typing limits of the number fields.
constexpr std::size_t kAttributeLimit = 2;
constexpr std::size_t kHitPointsLimit = 3;
constexpr std::size_t kMultiplierLimit = 4;

// The arrows' scroll codes (SB_LINEUP, SB_LINEDOWN); every other code is ignored.
constexpr int kLineUp = 0;
constexpr int kLineDown = 1;

// "%d" of an attribute or the hit points (a 16-bit value).
std::string formatNumber(unsigned value);
// "%1.2f" of value / 65536.0.
std::string formatMultiplier(std::int32_t value);

// atoi's reading (white space, one sign, digits; no digits gives 0), held to
// 0-65535: "-5" gives 0, "70000" 65535. Never overflows, however long the text.
std::uint16_t parseNumberText(const std::string& text);
// atof's reading times 65536, cut toward zero. Beyond the signed 32-bit range
// it is clamped; text that reads as infinity or not-a-number gives 0.
std::int32_t parseMultiplierText(const std::string& text);

// The limit to set after a fill: the typing limit, or the shown text's length
// when that is longer, so a value that does not fit is shown whole and an
// arrow step from it is read back whole.
std::size_t fieldLimitFor(const std::string& shownText, std::size_t limit);

// One arrow step. False, with the value unchanged, for any other code or at
// the bound (attributes 0-99, hit points 0-999); the page then does nothing.
bool stepAttribute(std::uint16_t& value, int code);
bool stepHitPoints(std::uint16_t& value, int code);
// Up by 655 while value / 65536.0 < 9.99, down by 655 while it is > 0.
bool stepMultiplier(std::int32_t& value, int code);

// What the record holds after an arrow step writes a value into a field whose
// limit is `limit`: the field keeps the first `limit` characters of the text,
// and its change handler reads them back.
std::uint16_t numberAfterShowing(std::uint16_t value, std::size_t limit);
std::int32_t multiplierAfterShowing(std::int32_t value, std::size_t limit);

// The fields' change handlers on the global ClassRecord. `text` is what the
// handler read from its field. Indexes out of range are ignored.
void storeAttributeText(std::size_t index, const std::string& text);
void storeHitPointsText(const std::string& text);
void storeMultiplierText(const std::string& text);
// A skill list's selection; no selection (-1) stores 255, as its low 8 bits.
void storeSkillSelection(std::size_t index, int selection);

}  // namespace kestrane

#endif
