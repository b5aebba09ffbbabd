// The Basic Info page's number rules: showing, reading back and stepping.
#include "basic_info_rules.h"
#include "basic_numbers.h"
#include "class_record.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <limits>
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

TEST_F(BasicInfoRules, TypedNumbersFollowAtoiHeldToSixteenBits) {
    EXPECT_EQ(parseNumberText("-5"), 0);
    EXPECT_EQ(parseNumberText("x7"), 0);
    EXPECT_EQ(parseNumberText(" 7"), 7);
    EXPECT_EQ(parseNumberText("-1"), 0);
    EXPECT_EQ(parseNumberText("-0"), 0);
    EXPECT_EQ(parseNumberText(""), 0);
    EXPECT_EQ(parseNumberText("4"), 4);
    EXPECT_EQ(parseNumberText("45"), 45);
    EXPECT_EQ(parseNumberText("+7"), 7);
    EXPECT_EQ(parseNumberText("7x"), 7);
    EXPECT_EQ(parseNumberText("\t\n\v\f\r 9"), 9);
    EXPECT_EQ(parseNumberText("- 5"), 0);
    EXPECT_EQ(parseNumberText("--5"), 0);
    EXPECT_EQ(parseNumberText("+-5"), 0);
    EXPECT_EQ(parseNumberText("65535"), 65535);
    EXPECT_EQ(parseNumberText("65536"), 65535);
    EXPECT_EQ(parseNumberText("70000"), 65535);
}

TEST_F(BasicInfoRules, TypedNumbersAgreeWithTheCLibraryWhereItIsDefined) {
    const char* samples[] = {"0",    "99",    " 12",     "\t-3",    "+0",     "007",       "-0",
                             "1500", "65535", "-65535", "123abc", "  -99 9", "2147483647", "-2147483648",
                             "abc",  ".5",    "-",      "+",      "1e3",    "99999",      "-70000"};
    for (const char* s : samples) {
        const int expected = std::atoi(s);
        EXPECT_EQ(parseNumberText(s), expected < 0 ? 0 : expected > 65535 ? 65535 : expected) << '"' << s << '"';
    }
}

TEST_F(BasicInfoRules, OverlongDigitStringsStayDefined) {
    // 4294967303 is 2^32 + 7: no wrap back into range.
    EXPECT_EQ(parseNumberText("4294967303"), 65535);
    EXPECT_EQ(parseNumberText("-4294967303"), 0);
    EXPECT_EQ(parseNumberText(std::string(200, '9')), 65535);
    EXPECT_EQ(parseNumberText("00000000000000000000000000000042"), 42);
}

TEST_F(BasicInfoRules, TypedMultipliersAreScaledAndCutTowardZero) {
    EXPECT_EQ(parseMultiplierText(".5"), 32768);
    EXPECT_EQ(parseMultiplierText("2"), 131072);
    EXPECT_EQ(parseMultiplierText("1.53"), 100270);
    EXPECT_EQ(parseMultiplierText("1.54"), 100925);
    EXPECT_EQ(parseMultiplierText("1.30"), 85196);
    EXPECT_EQ(parseMultiplierText("10.0"), 655360);
    EXPECT_EQ(parseMultiplierText("-0.0"), 0);
    EXPECT_EQ(parseMultiplierText("-0.01"), -655);  // -655.36 cut toward zero
    EXPECT_EQ(parseMultiplierText(" 1.5"), 98304);
    EXPECT_EQ(parseMultiplierText("1.5x"), 98304);
}

TEST_F(BasicInfoRules, TextWithoutANumberStoresZero) {
    EXPECT_EQ(parseMultiplierText(""), 0);
    EXPECT_EQ(parseMultiplierText("x"), 0);
    EXPECT_EQ(parseMultiplierText("."), 0);
    EXPECT_EQ(parseMultiplierText("-"), 0);
}

TEST_F(BasicInfoRules, TypedMultipliersOutsideThe32BitRangeAreClamped) {
    EXPECT_EQ(parseMultiplierText("1e9"), kInt32Max);
    EXPECT_EQ(parseMultiplierText("-1e9"), kInt32Min);
    EXPECT_EQ(parseMultiplierText("1e300"), kInt32Max);
    EXPECT_EQ(parseMultiplierText("-1e300"), kInt32Min);
    // 32768 * 65536 is 2^31, one past the top; -32768 is exactly the bottom.
    EXPECT_EQ(parseMultiplierText("32768"), kInt32Max);
    EXPECT_EQ(parseMultiplierText("32767.99"), 2147482992);  // 2147482992.64
    EXPECT_EQ(parseMultiplierText("-32768"), kInt32Min);
    EXPECT_EQ(parseMultiplierText("-32768.5"), kInt32Min);
}

TEST_F(BasicInfoRules, InfiniteOrNotANumberStoresZero) {
    EXPECT_EQ(parseMultiplierText("inf"), 0);
    EXPECT_EQ(parseMultiplierText("-inf"), 0);
    EXPECT_EQ(parseMultiplierText("nan"), 0);
    EXPECT_EQ(parseMultiplierText("1e999"), 0);  // the conversion itself overflows to infinity
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
    storeAttributeText(7, "4");
    EXPECT_EQ(ClassRecord.attributes[7], 4);
    storeAttributeText(7, "45");
    EXPECT_EQ(ClassRecord.attributes[7], 45);
    storeAttributeText(0, "-5");
    EXPECT_EQ(ClassRecord.attributes[0], 0);
    storeAttributeText(1, "70000");
    EXPECT_EQ(ClassRecord.attributes[1], 65535);
    storeHitPointsText("-1");
    EXPECT_EQ(ClassRecord.hitPointsPerLevel, 0);
    storeMultiplierText("1e9");
    EXPECT_EQ(ClassRecord.advancementMultiplier, kInt32Max);
    storeMultiplierText("2");
    EXPECT_EQ(ClassRecord.advancementMultiplier, 131072);

    // A value typed back to what it was writes no other byte.
    const auto before = ClassRecord.toBytes();
    storeHitPointsText("0");
    storeMultiplierText("2.00");
    storeAttributeText(7, "045");
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
    storeAttributeText(8, "12");
    storeSkillSelection(12, 3);
    EXPECT_EQ(ClassRecord.toBytes(), before);
}
