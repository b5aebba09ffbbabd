// The Magicka page: increased magery, light and darkness, absorption and
// spell-point regeneration.
#include "class_record.h"
#include "magicka_rules.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <set>
#include <utility>
#include <vector>

using namespace kestrane;

namespace {

class MagickaRules : public FreshRecord {};

// The magery buttons with the bits 10-12 each stands for.
const std::pair<int, std::uint16_t> kMagery[] = {{3233, 0x1400}, {3234, 0x1000}, {3235, 0x0C00},
                                                 {3236, 0x0800}, {3237, 0x0400}, {3238, 0x0000}};

// The page's radio groups (the check box 3243 is in none).
const std::vector<std::vector<int>> kGroups = {
    {3233, 3234, 3235, 3236, 3237, 3238},  // Increased Magery
    {3090, 3242, 3240},                    // Light Powered Magery (the dark bits)
    {3089, 3241, 3239},                    // Darkness Powered Magery (the light bits)
    {3091, 3259, 3256, 3263},              // Spell Absorption
};

int checkedMageryButtons(const ClassData& c) {
    int n = 0;
    for (const auto& [id, value] : kMagery) n += magickaShown(c, id) ? 1 : 0;
    return n;
}

}  // namespace

TEST_F(MagickaRules, TwoXIntOn0x1407Gives0x0407) {
    ClassRecord.abilityFlags = 0x1407;
    EXPECT_TRUE(magickaClicked(3237, false));
    EXPECT_EQ(ClassRecord.abilityFlags, 0x0407);
}

TEST_F(MagickaRules, ThreeXIntClearsBitsTenToTwelve) {
    ClassRecord.abilityFlags = 0xFFFF;
    magickaClicked(3238, false);
    EXPECT_EQ(ClassRecord.abilityFlags, 0xE3FF);
}

TEST_F(MagickaRules, EachMageryButtonWritesItsCodeAndShowsAlone) {
    for (const auto& [id, value] : kMagery) {
        for (std::uint16_t start : {std::uint16_t{0x0000}, std::uint16_t{0xFFFF}, std::uint16_t{0xE3FF}}) {
            ClassRecord.abilityFlags = start;
            magickaClicked(id, false);
            EXPECT_EQ(ClassRecord.abilityFlags, (start & ~0x1C00) | value) << id;
            for (const auto& [other, v2] : kMagery) EXPECT_EQ(magickaShown(ClassRecord, other), other == id);
        }
    }
    EXPECT_EQ(checkedMageryButtons(ClassData{}), 1);
    EXPECT_TRUE(magickaShown(ClassData{}, 3238));  // a zero record means "3 X INT"
}

TEST_F(MagickaRules, MageryCodesSixAndSevenShowNoButtonAndAreKept) {
    for (std::uint16_t code : {std::uint16_t{0x1800}, std::uint16_t{0x1C00}}) {
        ClassRecord = ClassData{};
        ClassRecord.abilityFlags = code;
        EXPECT_EQ(checkedMageryButtons(ClassRecord), 0) << code;
        // Every click but a magery button leaves the code alone.
        for (int id : {3089, 3241, 3239, 3090, 3242, 3240, 3091, 3256, 3259, 3263}) magickaClicked(id, false);
        magickaClicked(3243, true);
        magickaClicked(3243, false);
        EXPECT_EQ(ClassRecord.abilityFlags & 0x1C00, code);
        EXPECT_EQ(checkedMageryButtons(ClassRecord), 0);
        magickaClicked(3236, false);  // "1.75 X INT"
        EXPECT_EQ(ClassRecord.abilityFlags & 0x1C00, 0x0800);
    }
}

TEST_F(MagickaRules, BothLightBitsAreShownAndAClickKeepsOne) {
    ClassRecord.abilityFlags = 0x0300;
    EXPECT_TRUE(magickaShown(ClassRecord, 3241));
    EXPECT_TRUE(magickaShown(ClassRecord, 3239));
    EXPECT_FALSE(magickaShown(ClassRecord, 3089));
    magickaClicked(3239, false);  // "Unable to Cast in Light"
    EXPECT_EQ(ClassRecord.abilityFlags, 0x0100);
}

TEST_F(MagickaRules, BothDarkBitsAreShownAndAClickKeepsOne) {
    ClassRecord.abilityFlags = 0x00C0;
    EXPECT_TRUE(magickaShown(ClassRecord, 3242));
    EXPECT_TRUE(magickaShown(ClassRecord, 3240));
    EXPECT_FALSE(magickaShown(ClassRecord, 3090));
    magickaClicked(3242, false);  // "Reduced Power in Dark"
    EXPECT_EQ(ClassRecord.abilityFlags, 0x0080);
}

TEST_F(MagickaRules, LightAndDarkButtonsWriteOnlyTheirPair) {
    struct Case {
        int id;
        std::uint16_t pairMask;
        std::uint16_t bits;
    };
    const Case cases[] = {{3089, 0x0300, 0x0000}, {3241, 0x0300, 0x0200}, {3239, 0x0300, 0x0100},
                          {3090, 0x00C0, 0x0000}, {3242, 0x00C0, 0x0080}, {3240, 0x00C0, 0x0040}};
    for (const auto& [id, pairMask, bits] : cases) {
        ClassRecord.abilityFlags = 0xFFFF;
        magickaClicked(id, false);
        EXPECT_EQ(ClassRecord.abilityFlags, (0xFFFF & ~pairMask) | bits) << id;
    }
}

TEST_F(MagickaRules, SpellAbsorptionIsReadAsBitsAndWrittenWhole) {
    ClassRecord.spellAbsorption = 3;
    EXPECT_TRUE(magickaShown(ClassRecord, 3256));   // Only in Light
    EXPECT_TRUE(magickaShown(ClassRecord, 3259));   // Only in Darkness
    EXPECT_FALSE(magickaShown(ClassRecord, 3263));  // All the Time
    EXPECT_FALSE(magickaShown(ClassRecord, 3091));  // None

    ClassRecord.spellAbsorption = 8;
    EXPECT_TRUE(magickaShown(ClassRecord, 3091));
    EXPECT_FALSE(magickaShown(ClassRecord, 3256));
    EXPECT_FALSE(magickaShown(ClassRecord, 3259));
    EXPECT_FALSE(magickaShown(ClassRecord, 3263));
    magickaClicked(3242, false);
    magickaClicked(3237, false);
    EXPECT_EQ(ClassRecord.spellAbsorption, 8);  // kept until an absorption button is clicked
    magickaClicked(3091, false);
    EXPECT_EQ(ClassRecord.spellAbsorption, 0);

    const std::pair<int, std::uint8_t> codes[] = {{3091, 0}, {3256, 1}, {3259, 2}, {3263, 4}};
    for (const auto& [id, code] : codes) {
        ClassRecord.spellAbsorption = 0xFF;
        magickaClicked(id, false);
        EXPECT_EQ(ClassRecord.spellAbsorption, code) << id;
    }
}

TEST_F(MagickaRules, RegenerationBoxCopiesItsStateIntoBitThree) {
    ClassRecord.abilityFlags = 0xFFF7;
    magickaClicked(3243, true);
    EXPECT_EQ(ClassRecord.abilityFlags, 0xFFFF);
    EXPECT_TRUE(magickaShown(ClassRecord, 3243));
    magickaClicked(3243, true);  // copies, never inverts
    EXPECT_EQ(ClassRecord.abilityFlags, 0xFFFF);
    magickaClicked(3243, false);
    EXPECT_EQ(ClassRecord.abilityFlags, 0xFFF7);
    EXPECT_FALSE(magickaShown(ClassRecord, 3243));
}

TEST_F(MagickaRules, CheckedStateMattersOnlyForTheCheckBox) {
    for (int id : kMagickaButtons) {
        if (id == 3243) continue;
        ClassRecord = ClassData{};
        ClassRecord.abilityFlags = 0x0008;
        magickaClicked(id, true);
        const auto afterChecked = ClassRecord.toBytes();
        ClassRecord = ClassData{};
        ClassRecord.abilityFlags = 0x0008;
        magickaClicked(id, false);
        EXPECT_EQ(ClassRecord.toBytes(), afterChecked) << id;
    }
}

TEST_F(MagickaRules, AClickCollapsesItsGroupToTheClickedButton) {
    for (const auto& group : kGroups) {
        for (int id : group) {
            ClassRecord.abilityFlags = 0x1FC8 & ~0x1C00;  // both of each pair set
            ClassRecord.spellAbsorption = 7;
            magickaClicked(id, false);
            for (int other : group) EXPECT_EQ(magickaShown(ClassRecord, other), other == id) << id << ' ' << other;
        }
    }
}

TEST_F(MagickaRules, ASecondClickChangesNoByte) {
    for (int id : kMagickaButtons) {
        magickaClicked(id, true);
        const auto before = ClassRecord.toBytes();
        magickaClicked(id, true);
        EXPECT_EQ(ClassRecord.toBytes(), before) << id;
    }
}

TEST_F(MagickaRules, ButtonListIsTheFillOrderOfAllSeventeen) {
    const std::set<int> expected = {3233, 3234, 3235, 3236, 3237, 3238, 3089, 3241, 3239,
                                    3090, 3242, 3240, 3091, 3259, 3256, 3263, 3243};
    EXPECT_EQ(std::set<int>(kMagickaButtons.begin(), kMagickaButtons.end()), expected);
    EXPECT_EQ(kMagickaButtons[0], 3233);
    EXPECT_EQ(kMagickaButtons[16], 3243);
}

TEST_F(MagickaRules, ForeignIdentifiersAreNotThisPagesButtons) {
    ClassRecord.abilityFlags = 0xFFFF;
    ClassRecord.spellAbsorption = 0xFF;
    const auto before = ClassRecord.toBytes();
    for (int id : {3092, 3093, 3094, 3232, 3244, 3248, 3252, 3255, 3075, 3186}) {
        EXPECT_FALSE(magickaClicked(id, true)) << id;
        EXPECT_FALSE(magickaShown(ClassRecord, id)) << id;
    }
    EXPECT_EQ(ClassRecord.toBytes(), before);
}

TEST_F(MagickaRules, RoutinesUseOnlyTheBitsOfTheirOwnGroup) {
    ClassRecord.abilityFlags = 0x0000;
    setMagery(0xFFFF);
    EXPECT_EQ(ClassRecord.abilityFlags, 0x1C00);
    setCastingInDark(0xFFFF);
    EXPECT_EQ(ClassRecord.abilityFlags, 0x1CC0);
    setCastingInLight(0xFFFF);
    EXPECT_EQ(ClassRecord.abilityFlags, 0x1FC0);
    setNoSpellRegeneration(true);
    EXPECT_EQ(ClassRecord.abilityFlags, 0x1FC8);
}
