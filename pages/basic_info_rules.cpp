#include "basic_info_rules.h"

#include "class_record.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace kestrane {

namespace {

// The multiplier's fixed-point scale and its upper stepping bound.
constexpr double kScale = 65536.0;
constexpr double kStepCeiling = 9.99;
constexpr std::int32_t kMultiplierStep = 655;

bool isCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

std::string formatNumber(unsigned value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%u", value);
    return buffer;
}

std::string formatMultiplier(std::int32_t value) {
    // The widest text, "-32768.00", fits with room to spare.
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%1.2f", value / kScale);
    return buffer;
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
    const double d = std::strtod(text.c_str(), nullptr);
    if (!std::isfinite(d)) return 0;
    const double scaled = d * kScale;
    if (scaled >= 2147483648.0) return std::numeric_limits<std::int32_t>::max();
    if (scaled <= -2147483649.0) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(scaled);  // cuts toward zero
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

bool stepAttribute(std::uint16_t& value, int code) { return stepBounded(value, code, 99); }

bool stepHitPoints(std::uint16_t& value, int code) { return stepBounded(value, code, 999); }

bool stepMultiplier(std::int32_t& value, int code) {
    const double q = value / kScale;
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
    modified = 1;
}

void storeHitPointsText(const std::string& text) {
    ClassRecord.hitPointsPerLevel = parseNumberText(text);
    modified = 1;
}

void storeMultiplierText(const std::string& text) {
    ClassRecord.advancementMultiplier = parseMultiplierText(text);
    modified = 1;
}

void storeSkillSelection(std::size_t index, int selection) {
    if (index >= ClassRecord.skills.size()) return;
    ClassRecord.skills[index] = static_cast<std::uint8_t>(selection & 0xFF);
    modified = 1;
}

}  // namespace kestrane
