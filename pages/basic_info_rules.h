// The Basic Info page's number rules: how its fields show and read back
// numbers, and how the arrows step them.
#ifndef KESTRANE_BASIC_INFO_RULES_H
#define KESTRANE_BASIC_INFO_RULES_H

#include <cstddef>
#include <cstdint>
#include <optional>
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

// The text of an attribute's or the hit points' field as its number: one or
// more digits, 0 to 65535. Nothing for any other text (empty, a sign, a
// letter, a value past 16 bits): such text is never stored.
std::optional<std::uint16_t> readNumberText(const std::string& text);
// The multiplier's text as its 16.16 value: digits with at most one decimal
// point and at least one digit, times 65536 cut toward zero, when that fits
// 32 bits. A leading minus reads too, as the field shows a negative value
// read from a file, though none can be typed. Nothing for any other text.
std::optional<std::int32_t> readMultiplierText(const std::string& text);

// Whether the multiplier's field takes a typed character, with `text` in it
// and [selStart, selEnd) selected: a digit, or a decimal point where the text
// outside the selection has none. Control characters (Backspace, Ctrl+V, ...)
// are the field's own and go through.
bool multiplierTakes(const std::string& text, std::size_t selStart, std::size_t selEnd, wchar_t typed);

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
// and its change handler reads them back (storing nothing when they do not
// read as a number).
std::uint16_t numberAfterShowing(std::uint16_t value, std::size_t limit);
std::int32_t multiplierAfterShowing(std::int32_t value, std::size_t limit);

// The fields' change handlers on the global ClassRecord. `text` is what the
// handler read from its field. False, with the record unchanged, when the text
// does not read as the field's number; indexes out of range are ignored.
bool storeAttributeText(std::size_t index, const std::string& text);
bool storeHitPointsText(const std::string& text);
bool storeMultiplierText(const std::string& text);
// The Check box's "Use": the multiplier as if the class maker's, with two
// decimals, were typed into its field (2.90 stores 190054, 2.9 x 65536 cut).
// False, changing nothing, for a class the maker could not make: it has no
// multiplier to use.
bool storeMakerMultiplier();
// A skill list's selection; no selection (-1) stores 255, as its low 8 bits.
void storeSkillSelection(std::size_t index, int selection);

}  // namespace kestrane

#endif
