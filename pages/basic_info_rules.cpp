#include "basic_info_rules.h"

#include "basic_numbers.h"
#include "class_record.h"
#include "tally.h"

#include <algorithm>
#include <cstdint>

namespace kestrane {

namespace {

// The multiplier's step, 0.01 cut to 16.16, and the highest value a step up
// starts from, so the arrows never pass the field's 10.00.
constexpr std::int32_t kMultiplierStep = kMultiplierOne / 100;  // 655
constexpr std::int32_t kStepCeiling = kMultiplierMax - kMultiplierStep;

}  // namespace

std::string formatNumber(unsigned value) {
    return std::to_string(value);
}

std::string formatMultiplier(std::int32_t value) {
    return multiplierShown(value);
}

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<std::uint16_t> readNumberText(const std::string& text) {
    if (text.empty()) return std::nullopt;
    std::uint32_t value = 0;
    for (char c : text) {
        if (!isDigit(c)) return std::nullopt;
        value = value * 10u + static_cast<std::uint32_t>(c - '0');
        // Checked at each digit, so a long text never overflows.
        if (value > 0xFFFFu) return std::nullopt;
    }
    return static_cast<std::uint16_t>(value);
}

std::optional<std::int32_t> readMultiplierText(const std::string& text) {
    const bool negative = !text.empty() && text[0] == '-';
    const std::size_t point = text.find('.');
    const std::string whole = text.substr(negative ? 1 : 0, point == std::string::npos ? std::string::npos
                                                                                      : point - (negative ? 1 : 0));
    std::string fraction = point == std::string::npos ? std::string() : text.substr(point + 1);
    if (whole.empty() && fraction.empty()) return std::nullopt;
    // Digits only on each side of the one point (no sign but a leading minus,
    // no exponent, no "inf").
    std::int64_t fixed = 0;
    for (char c : whole) {
        if (!isDigit(c)) return std::nullopt;
        fixed = fixed * 10 + (c - '0');
        if (fixed > 0x8000) return std::nullopt;  // past every 16.16 whole part
    }
    fixed *= kMultiplierOne;
    // The fraction times 65536, exactly: multiplied digit by digit from the
    // last, so a long fraction is cut toward zero and never rounded up.
    std::int64_t carry = 0;
    for (auto c = fraction.rbegin(); c != fraction.rend(); ++c) {
        if (!isDigit(*c)) return std::nullopt;
        carry = ((*c - '0') * std::int64_t{kMultiplierOne} + carry) / 10;
    }
    fixed += carry;
    if (negative) fixed = -fixed;
    if (fixed > INT32_MAX || fixed < INT32_MIN) return std::nullopt;
    return static_cast<std::int32_t>(fixed);
}

bool multiplierTakes(const std::string& text, std::size_t selStart, std::size_t selEnd, wchar_t typed) {
    if (typed < 0x20) return true;
    if (typed >= L'0' && typed <= L'9') return true;
    if (typed != L'.') return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == '.' && (i < selStart || i >= selEnd)) return false;
    return true;
}

std::size_t fieldLimitFor(const std::string& shownText, std::size_t limit) {
    return std::max(limit, shownText.size());
}

namespace {

bool stepBounded(std::uint16_t& value, int code, std::uint16_t upper) {
    if (code == kLineUp && value < upper) {
        ++value;
        return true;
    }
    if (code == kLineDown && value != 0) {
        --value;
        return true;
    }
    return false;
}

}  // namespace

bool stepAttribute(std::uint16_t& value, int code) { return stepBounded(value, code, kAttributeMax); }

bool stepHitPoints(std::uint16_t& value, int code) { return stepBounded(value, code, kHitPointsMax); }

bool stepMultiplier(std::int32_t& value, int code) {
    // Neither step can overflow: going up needs less than 9.99, going down
    // more than 0.
    if (code == kLineUp && value < kStepCeiling) {
        value += kMultiplierStep;
        return true;
    }
    if (code == kLineDown && value > 0) {
        value -= kMultiplierStep;
        return true;
    }
    return false;
}

std::uint16_t numberAfterShowing(std::uint16_t value, std::size_t limit) {
    return readNumberText(formatNumber(value).substr(0, limit)).value_or(value);
}

std::int32_t multiplierAfterShowing(std::int32_t value, std::size_t limit) {
    return readMultiplierText(formatMultiplier(value).substr(0, limit)).value_or(value);
}

namespace {

template <typename T>
bool storeRead(T& field, const std::optional<T>& read) {
    if (!read) return false;
    field = *read;
    return true;
}

}  // namespace

bool storeAttributeText(std::size_t index, const std::string& text) {
    if (index >= ClassRecord.attributes.size()) return false;
    return storeRead(ClassRecord.attributes[index], readNumberText(text));
}

bool storeHitPointsText(const std::string& text) {
    return storeRead(ClassRecord.hitPointsPerLevel, readNumberText(text));
}

bool storeMultiplierText(const std::string& text) {
    return storeRead(ClassRecord.advancementMultiplier, readMultiplierText(text));
}

bool storeMakerMultiplier() {
    const ClassTally t = tallyClass(ClassRecord);
    if (!t.beyondMaker.empty()) return false;
    ClassRecord.advancementMultiplier = typedMultiplier(t.makerMultiplier);
    return true;
}

void storeSkillSelection(std::size_t index, int selection) {
    if (index >= ClassRecord.skills.size()) return;
    ClassRecord.skills[index] = static_cast<std::uint8_t>(selection & 0xFF);
}

}  // namespace kestrane
