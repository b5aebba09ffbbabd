#include "basic_info_rules.h"

#include "basic_numbers.h"
#include "class_record.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace kestrane {

namespace {

// The multiplier's upper stepping bound and its step, 0.01 cut to 16.16.
constexpr double kStepCeiling = 9.99;
constexpr std::int32_t kMultiplierStep = kMultiplierOne / 100;  // 655

bool isCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

std::string formatNumber(unsigned value) {
    return std::to_string(value);
}

std::string formatMultiplier(std::int32_t value) {
    return multiplierShown(value);
}

std::uint16_t parseNumberText(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && isCSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Held just above the top while digits go on, so it never overflows.
    std::uint32_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min<std::uint32_t>(value * 10u + static_cast<std::uint32_t>(text[i] - '0'), 0x10000u);
    if (negative) return 0;
    return static_cast<std::uint16_t>(std::min<std::uint32_t>(value, 0xFFFFu));
}

std::int32_t parseMultiplierText(const std::string& text) {
    return multiplierStored(std::strtod(text.c_str(), nullptr));
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
    const double q = multiplierNumber(value);
    // Neither step can overflow: going up needs q < 9.99, going down q > 0.
    if (code == kLineUp && q < kStepCeiling) {
        value += kMultiplierStep;
        return true;
    }
    if (code == kLineDown && q > 0) {
        value -= kMultiplierStep;
        return true;
    }
    return false;
}

std::uint16_t numberAfterShowing(std::uint16_t value, std::size_t limit) {
    return parseNumberText(formatNumber(value).substr(0, limit));
}

std::int32_t multiplierAfterShowing(std::int32_t value, std::size_t limit) {
    return parseMultiplierText(formatMultiplier(value).substr(0, limit));
}

void storeAttributeText(std::size_t index, const std::string& text) {
    if (index >= ClassRecord.attributes.size()) return;
    ClassRecord.attributes[index] = parseNumberText(text);
}

void storeHitPointsText(const std::string& text) {
    ClassRecord.hitPointsPerLevel = parseNumberText(text);
}

void storeMultiplierText(const std::string& text) {
    ClassRecord.advancementMultiplier = parseMultiplierText(text);
}

void storeSkillSelection(std::size_t index, int selection) {
    if (index >= ClassRecord.skills.size()) return;
    ClassRecord.skills[index] = static_cast<std::uint8_t>(selection & 0xFF);
}

}  // namespace kestrane
