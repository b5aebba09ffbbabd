// The Basic Info page's number rules: showing, reading back and stepping.
#include "basic_info_rules.h"
#include "basic_numbers.h"
#include "class_record.h"
#include "tables.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>

using namespace kestrane;

namespace {

constexpr std::int32_t kInt32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kInt32Min = std::numeric_limits<std::int32_t>::min();

class BasicInfoRules : public FreshRecord {};

// One click on the multiplier's arrows as the page performs it: the step,
// then the replacement of the field's text (cut to the limit in force) and
// the change handler's read-back. Returns false when the arrow did nothing.
bool clickMultiplier(std::int32_t& value, int code, std::size_t limit = kMultiplierLimit) {
    if (!stepMultiplier(value, code)) return false;
    value = multiplierAfterShowing(value, limit);
    return true;
}

}  // namespace

TEST_F(BasicInfoRules, NumbersAreShownInFull) {
    EXPECT_EQ(formatNumber(0), "0");
    EXPECT_EQ(formatNumber(45), "45");
    EXPECT_EQ(formatNumber(65531), "65531");
    EXPECT_EQ(formatNumber(65535), "65535");
}

TEST_F(BasicInfoRules, MultiplierIsShownWithTwoDecimals) {
    EXPECT_EQ(formatMultiplier(0), "0.00");
    EXPECT_EQ(formatMultiplier(98304), "1.50");
    EXPECT_EQ(formatMultiplier(99614), "1.52");
    EXPECT_EQ(formatMultiplier(85197), "1.30");
    EXPECT_EQ(formatMultiplier(655359), "10.00");
    EXPECT_EQ(formatMultiplier(-328), "-0.01");
    EXPECT_EQ(formatMultiplier(kInt32Max), "32768.00");
    EXPECT_EQ(formatMultiplier(kInt32Min), "-32768.00");
    // Written by hand, as printf would: a tie goes to the even hundredth, a
    // value just below one stays below, and the sign stays on a zero.
    EXPECT_EQ(formatMultiplier(8192), "0.12");    // 0.125
    EXPECT_EQ(formatMultiplier(24576), "0.38");   // 0.375
    EXPECT_EQ(formatMultiplier(-8192), "-0.12");
    EXPECT_EQ(formatMultiplier(-65), "-0.00");
    EXPECT_EQ(twoDecimals(2.675), "2.67");        // 2.67499999...
    EXPECT_EQ(twoDecimals(1e20), "100000000000000000000.00");
    // And read back as the strtod route reads it, cut toward zero.
    EXPECT_EQ(twoDecimalsStored("1.30"), 85196);
    EXPECT_EQ(twoDecimalsStored("-0.01"), -655);
    EXPECT_EQ(twoDecimalsStored("99999.00"), kInt32Max);
    EXPECT_EQ(twoDecimalsStored("-99999.00"), kInt32Min);
}

TEST_F(BasicInfoRules, ANumberFieldReadsDigitsAloneWithinSixteenBits) {
    const struct {
        const char* text;
        std::optional<std::uint16_t> read;
    } cases[] = {
        {"4", 4}, {"45", 45}, {"0", 0}, {"007", 7}, {"65535", 65535},
        {"00000000000000000000000000000042", 42},
        // Past 16 bits: not the field's number, and no wrap back into range
        // (4294967303 is 2^32 + 7).
        {"65536", std::nullopt}, {"70000", std::nullopt}, {"4294967303", std::nullopt},
        // Anything but digits: what a paste or an emptied field can leave.
        {"", std::nullopt}, {"-5", std::nullopt}, {"-0", std::nullopt}, {"+7", std::nullopt},
        {"x7", std::nullopt}, {"7x", std::nullopt}, {" 7", std::nullopt}, {"7 ", std::nullopt},
        {"abc", std::nullopt}, {"1.5", std::nullopt}, {"1e3", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(readNumberText(c.text), c.read) << '"' << c.text << '"';
    EXPECT_EQ(readNumberText(std::string(200, '9')), std::nullopt);
}

TEST_F(BasicInfoRules, AMultiplierReadsAsDigitsAndOnePointScaledAndCutTowardZero) {
    const struct {
        const char* text;
        std::optional<std::int32_t> read;
    } cases[] = {
        {".5", 32768}, {"2", 131072}, {"2.", 131072}, {"1.53", 100270}, {"1.54", 100925},
        {"1.30", 85196}, {"10.0", 655360}, {"0", 0}, {"9999", 655294464},
        // As the field shows a negative value read from a file.
        {"-1.50", -98304}, {"-0.0", 0}, {"-0.01", -655},  // -655.36 cut toward zero
        // Exactly, as no double would: one 65536th short of 1 stays short of it.
        {"0.99999999999999999999", 65535}, {"000000000001.5", 98304},
        // 32767.99 is 2147482992.64; 32768 is 2^31, one past the top; -32768 the bottom.
        {"32767.99", 2147482992}, {"32768", std::nullopt}, {"-32768", kInt32Min}, {"-32768.5", std::nullopt},
        // What a paste or an emptied field can leave, and what strtod would read.
        {"", std::nullopt}, {".", std::nullopt}, {"-", std::nullopt}, {"-.", std::nullopt},
        {"abc", std::nullopt}, {"x", std::nullopt}, {"1.5x", std::nullopt}, {" 1.5", std::nullopt},
        {"1.2.3", std::nullopt}, {"+1", std::nullopt}, {"1-", std::nullopt}, {"--1", std::nullopt},
        {"1e9", std::nullopt}, {"inf", std::nullopt}, {"nan", std::nullopt}, {"0x10", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(readMultiplierText(c.text), c.read) << '"' << c.text << '"';
    EXPECT_EQ(readMultiplierText(std::string(400, '9')), std::nullopt);
}

TEST_F(BasicInfoRules, TheMultiplierFieldTakesDigitsAndOnePoint) {
    const struct {
        const char* text;
        std::size_t selStart, selEnd;
        wchar_t typed;
        bool takes;
    } cases[] = {
        {"", 0, 0, L'7', true},     {"1.5", 3, 3, L'0', true},    {"", 0, 0, L'.', true},
        {"15", 1, 1, L'.', true},   {"1.5", 3, 3, L'.', false},   {"1.5", 0, 0, L'.', false},
        // The point inside the selection is replaced by what is typed.
        {"1.5", 1, 2, L'.', true},  {"1.5", 0, 3, L'.', true},    {"1.5", 0, 1, L'.', false},
        {"", 0, 0, L'a', false},    {"1", 1, 1, L'-', false},     {"", 0, 0, L'+', false},
        {"1", 1, 1, L'e', false},   {"1", 1, 1, L',', false},     {"1", 1, 1, L' ', false},
        {"1", 1, 1, 0x0663, false},  // an Arabic-Indic three: no digit of the record's
        // Backspace, Ctrl+V, Ctrl+A: the field's own.
        {"1.5", 3, 3, 8, true},     {"1.5", 3, 3, 22, true},      {"1.5", 0, 0, 1, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(multiplierTakes(c.text, c.selStart, c.selEnd, c.typed), c.takes)
            << '"' << c.text << "\" [" << c.selStart << ", " << c.selEnd << ") " << int(c.typed);
}

TEST_F(BasicInfoRules, FieldLimitGrowsOnlyForTextsThatDoNotFit) {
    EXPECT_EQ(fieldLimitFor(formatNumber(45), kAttributeLimit), 2u);
    EXPECT_EQ(fieldLimitFor(formatNumber(7), kAttributeLimit), 2u);
    EXPECT_EQ(fieldLimitFor(formatNumber(150), kAttributeLimit), 3u);
    EXPECT_EQ(fieldLimitFor(formatNumber(65531), kAttributeLimit), 5u);
    EXPECT_EQ(fieldLimitFor(formatNumber(999), kHitPointsLimit), 3u);
    EXPECT_EQ(fieldLimitFor(formatNumber(1500), kHitPointsLimit), 4u);
    EXPECT_EQ(fieldLimitFor(formatMultiplier(98304), kMultiplierLimit), 4u);
    EXPECT_EQ(fieldLimitFor(formatMultiplier(655360), kMultiplierLimit), 5u);  // 10.00
    EXPECT_EQ(fieldLimitFor(formatMultiplier(-655), kMultiplierLimit), 5u);    // -0.01
}

TEST_F(BasicInfoRules, ValuesThatDoNotFitAreReadBackWholeWithTheGrownLimit) {
    // An arrow step's text is read back under the limit the last fill set: cut to
    // the typing limit it would lose digits; with the grown limit it is kept.
    EXPECT_EQ(numberAfterShowing(150, kAttributeLimit), 15);
    EXPECT_EQ(numberAfterShowing(150, fieldLimitFor(formatNumber(150), kAttributeLimit)), 150);
    EXPECT_EQ(numberAfterShowing(1500, fieldLimitFor(formatNumber(1500), kHitPointsLimit)), 1500);
    for (unsigned v = 0; v <= 0xFFFF; ++v) {
        const auto value = static_cast<std::uint16_t>(v);
        ASSERT_EQ(numberAfterShowing(value, fieldLimitFor(formatNumber(value), kAttributeLimit)), value);
        ASSERT_EQ(numberAfterShowing(value, fieldLimitFor(formatNumber(value), kHitPointsLimit)), value);
    }

    // 12.34: 808714 is the truncation of its own text, so it comes back unchanged.
    EXPECT_EQ(multiplierAfterShowing(808714, kMultiplierLimit), 806092);  // "12.3"
    EXPECT_EQ(multiplierAfterShowing(808714, fieldLimitFor(formatMultiplier(808714), kMultiplierLimit)), 808714);
    EXPECT_EQ(multiplierAfterShowing(-655, fieldLimitFor(formatMultiplier(-655), kMultiplierLimit)), -655);
    EXPECT_EQ(multiplierAfterShowing(655360, fieldLimitFor(formatMultiplier(655360), kMultiplierLimit)), 655360);
}

TEST_F(BasicInfoRules, AttributeArrowsStopAtZeroAndNinetyNine) {
    std::uint16_t v = 98;
    EXPECT_TRUE(stepAttribute(v, kLineUp));
    EXPECT_EQ(v, 99);
    EXPECT_FALSE(stepAttribute(v, kLineUp));
    EXPECT_EQ(v, 99);
    EXPECT_TRUE(stepAttribute(v, kLineDown));
    EXPECT_EQ(v, 98);

    v = 0;
    EXPECT_FALSE(stepAttribute(v, kLineDown));
    EXPECT_EQ(v, 0);
    EXPECT_TRUE(stepAttribute(v, kLineUp));
    EXPECT_EQ(v, 1);

    // A value read from a file above the bound: up does nothing, down still steps.
    v = 65531;
    EXPECT_FALSE(stepAttribute(v, kLineUp));
    EXPECT_EQ(v, 65531);
    EXPECT_TRUE(stepAttribute(v, kLineDown));
    EXPECT_EQ(v, 65530);
}

TEST_F(BasicInfoRules, HitPointArrowsStopAtZeroAndNineHundredNinetyNine) {
    std::uint16_t v = 998;
    EXPECT_TRUE(stepHitPoints(v, kLineUp));
    EXPECT_EQ(v, 999);
    EXPECT_FALSE(stepHitPoints(v, kLineUp));
    EXPECT_EQ(v, 999);
    v = 0;
    EXPECT_FALSE(stepHitPoints(v, kLineDown));
    EXPECT_EQ(v, 0);
}

TEST_F(BasicInfoRules, OtherScrollCodesChangeNothing) {
    // SB_PAGEUP, SB_PAGEDOWN, SB_THUMBPOSITION, SB_THUMBTRACK, SB_TOP, SB_BOTTOM, SB_ENDSCROLL
    for (int code = 2; code <= 8; ++code) {
        std::uint16_t a = 50;
        std::uint16_t h = 500;
        std::int32_t m = 98304;
        EXPECT_FALSE(stepAttribute(a, code)) << code;
        EXPECT_FALSE(stepHitPoints(h, code)) << code;
        EXPECT_FALSE(stepMultiplier(m, code)) << code;
        EXPECT_EQ(a, 50);
        EXPECT_EQ(h, 500);
        EXPECT_EQ(m, 98304);
    }
}

TEST_F(BasicInfoRules, MultiplierArrowsRealignToTheShownHundredths) {
    std::int32_t v = 99614;
    EXPECT_TRUE(stepMultiplier(v, kLineUp));
    EXPECT_EQ(v, 100269);
    EXPECT_EQ(formatMultiplier(v), "1.53");
    v = multiplierAfterShowing(v, kMultiplierLimit);
    EXPECT_EQ(v, 100270);
    ASSERT_TRUE(clickMultiplier(v, kLineUp));
    EXPECT_EQ(v, 100925);
    ASSERT_TRUE(clickMultiplier(v, kLineDown));
    EXPECT_EQ(formatMultiplier(v), "1.53");
}

TEST_F(BasicInfoRules, MultiplierArrowsTopOutAtTenPointZero) {
    std::int32_t v = 654704;
    EXPECT_EQ(formatMultiplier(v), "9.99");
    ASSERT_TRUE(clickMultiplier(v, kLineUp));  // 655359 shows as 10.00, cut to 10.0
    EXPECT_EQ(v, 655360);
    EXPECT_FALSE(clickMultiplier(v, kLineUp));
    EXPECT_EQ(v, 655360);

    // From 0 it takes exactly 1000 clicks to get there.
    v = 0;
    int clicks = 0;
    while (clickMultiplier(v, kLineUp)) ++clicks;
    EXPECT_EQ(clicks, 1000);
    EXPECT_EQ(v, 655360);
}

TEST_F(BasicInfoRules, MultiplierArrowsBottomOutAtZero) {
    std::int32_t v = 327;
    ASSERT_TRUE(stepMultiplier(v, kLineDown));
    EXPECT_EQ(v, -328);
    EXPECT_EQ(formatMultiplier(v), "-0.01");
    v = multiplierAfterShowing(v, kMultiplierLimit);  // the field keeps -0.0
    EXPECT_EQ(v, 0);
    EXPECT_FALSE(clickMultiplier(v, kLineDown));
    EXPECT_EQ(v, 0);
}

TEST_F(BasicInfoRules, MultiplierArrowsUseTheLimitInForce) {
    // After a fill of 12.34 the field takes five characters; up does nothing
    // (not below 9.99) and down shows 12.33 whole.
    std::int32_t v = 808714;
    const std::size_t limit = fieldLimitFor(formatMultiplier(v), kMultiplierLimit);
    EXPECT_FALSE(clickMultiplier(v, kLineUp, limit));
    ASSERT_TRUE(clickMultiplier(v, kLineDown, limit));
    EXPECT_EQ(formatMultiplier(v), "12.33");
    EXPECT_EQ(v, 808058);  // 12.33 * 65536 = 808058.88
}

TEST_F(BasicInfoRules, ChangeHandlersStoreWhatTheFieldHolds) {
    EXPECT_TRUE(storeAttributeText(7, "4"));
    EXPECT_EQ(ClassRecord.attributes[7], 4);
    EXPECT_TRUE(storeAttributeText(7, "45"));
    EXPECT_EQ(ClassRecord.attributes[7], 45);
    EXPECT_TRUE(storeHitPointsText("12"));
    EXPECT_EQ(ClassRecord.hitPointsPerLevel, 12);
    EXPECT_TRUE(storeMultiplierText("2"));
    EXPECT_EQ(ClassRecord.advancementMultiplier, 131072);

    // Text that is not the field's number stores nothing: the record keeps the
    // value the field shows again once it is left.
    const auto kept = ClassRecord.toBytes();
    EXPECT_FALSE(storeAttributeText(7, ""));
    EXPECT_FALSE(storeAttributeText(0, "-5"));
    EXPECT_FALSE(storeAttributeText(1, "70000"));
    EXPECT_FALSE(storeHitPointsText("abc"));
    EXPECT_FALSE(storeMultiplierText("abc"));
    EXPECT_FALSE(storeMultiplierText("1e9"));
    EXPECT_FALSE(storeMultiplierText(""));
    EXPECT_EQ(ClassRecord.toBytes(), kept);

    // A value typed back to what it was writes no other byte.
    EXPECT_TRUE(storeHitPointsText("12"));
    EXPECT_TRUE(storeMultiplierText("2.00"));
    EXPECT_TRUE(storeAttributeText(7, "045"));
    EXPECT_EQ(ClassRecord.toBytes(), kept);
}

TEST_F(BasicInfoRules, UseStoresTheMakersMultiplierAsTyped) {
    // 19 hit points (+11) and Immunity to Paralysis (+10), no increased
    // magery (code 5): 21 points, 2.01, stored as "2.01" typed (131727); with
    // 999 hit points the maker could not make the class, and nothing changes.
    ClassRecord.hitPointsPerLevel = 19;
    ClassRecord.immuneFlags = 1;
    ClassRecord.abilityFlags = 5 << kMageryShift;
    ClassRecord.advancementMultiplier = 65536;
    EXPECT_TRUE(storeMakerMultiplier());
    EXPECT_EQ(ClassRecord.advancementMultiplier, 131727);
    EXPECT_EQ(formatMultiplier(ClassRecord.advancementMultiplier), "2.01");
    ClassRecord.hitPointsPerLevel = 999;
    const auto before = ClassRecord.toBytes();
    EXPECT_FALSE(storeMakerMultiplier());
    EXPECT_EQ(ClassRecord.toBytes(), before);
}

TEST_F(BasicInfoRules, SkillListsStoreTheSelection) {
    storeSkillSelection(0, 34);  // "Critical Hit"
    storeSkillSelection(5, 34);  // the same skill may fill several slots
    EXPECT_EQ(ClassRecord.skills[0], 34);
    EXPECT_EQ(ClassRecord.skills[5], 34);
    storeSkillSelection(11, -1);  // no selection
    EXPECT_EQ(ClassRecord.skills[11], 255);
}

TEST_F(BasicInfoRules, IndexesOutsideTheRecordAreIgnored) {
    const auto before = ClassRecord.toBytes();
    EXPECT_FALSE(storeAttributeText(8, "12"));
    storeSkillSelection(12, 3);
    EXPECT_EQ(ClassRecord.toBytes(), before);
}
