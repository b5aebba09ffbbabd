// The Miscellaneous page: talents, damage, regeneration, rapid healing,
// bonuses and phobias.
#include "class_record.h"
#include "miscellaneous_rules.h"
#include "tables.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <set>
#include <utility>
#include <vector>

using namespace kestrane;

namespace {

class MiscellaneousRules : public FreshRecord {};

// Enemy kind e's buttons: Phobia, Normal, Bonus.
std::array<int, 3> kind(int e) { return {3265 + e, 3091 + e, 3269 + e}; }

const std::vector<int> kRegeneration = {3089, 3254, 3257, 3260, 3261};
const std::vector<int> kRapidHealing = {3090, 3255, 3258, 3262};

}  // namespace

TEST_F(MiscellaneousRules, EnemyExamples) {
    ClassRecord.bonusPhobiaFlags = 0x80;
    miscellaneousClicked(3272, false);  // Animals, Bonus
    EXPECT_EQ(ClassRecord.bonusPhobiaFlags, 0x08);

    ClassRecord.bonusPhobiaFlags = 0x02;
    miscellaneousClicked(3266, false);  // Daedra, Phobia
    EXPECT_EQ(ClassRecord.bonusPhobiaFlags, 0x20);

    ClassRecord.bonusPhobiaFlags = 0x44;
    miscellaneousClicked(3093, false);  // Humanoid, Normal
    EXPECT_EQ(ClassRecord.bonusPhobiaFlags, 0x00);
}

TEST_F(MiscellaneousRules, EnemyRoutinesTouchOnlyTheirKindsTwoBits) {
    for (int e = 0; e < 4; ++e) {
        const auto m = static_cast<std::uint8_t>(1u << e);
        const unsigned both = m | (m << kPhobiaShift);
        ClassRecord.bonusPhobiaFlags = 0xFF;
        setEnemyPhobia(m);
        EXPECT_EQ(ClassRecord.bonusPhobiaFlags, (0xFF & ~both) | (m << kPhobiaShift)) << e;
        ClassRecord.bonusPhobiaFlags = 0xFF;
        setEnemyBonus(m);
        EXPECT_EQ(ClassRecord.bonusPhobiaFlags, (0xFF & ~both) | m) << e;
        ClassRecord.bonusPhobiaFlags = 0xFF;
        setEnemyNormal(m);
        EXPECT_EQ(ClassRecord.bonusPhobiaFlags, 0xFF & ~both) << e;
    }
}

TEST_F(MiscellaneousRules, BonusAndPhobiaTogetherShowBothAndCollapseOnAClick) {
    for (int b = 0; b < 3; ++b) {
        ClassRecord.bonusPhobiaFlags = 0x11 | 0x44;  // Undead and Humanoid both ways
        EXPECT_TRUE(miscellaneousShown(ClassRecord, kind(0)[0]));
        EXPECT_FALSE(miscellaneousShown(ClassRecord, kind(0)[1]));
        EXPECT_TRUE(miscellaneousShown(ClassRecord, kind(0)[2]));

        miscellaneousClicked(kind(0)[b], false);
        for (int other = 0; other < 3; ++other)
            EXPECT_EQ(miscellaneousShown(ClassRecord, kind(0)[other]), other == b) << b << ' ' << other;
        EXPECT_EQ(ClassRecord.bonusPhobiaFlags & 0xEE, 0x44);  // the other kinds' bits stay
    }
}

TEST_F(MiscellaneousRules, RegenerationIsReadAsBitsAndWrittenWhole) {
    ClassRecord.regeneration = 3;
    EXPECT_TRUE(miscellaneousShown(ClassRecord, 3254));   // Only in Light
    EXPECT_TRUE(miscellaneousShown(ClassRecord, 3257));   // Only in Darkness
    EXPECT_FALSE(miscellaneousShown(ClassRecord, 3260));  // Only in Water
    EXPECT_FALSE(miscellaneousShown(ClassRecord, 3261));  // All the Time
    EXPECT_FALSE(miscellaneousShown(ClassRecord, 3089));  // None

    ClassRecord.regeneration = 16;
    for (int id : kRegeneration) EXPECT_EQ(miscellaneousShown(ClassRecord, id), id == 3089) << id;
    for (int id : kRapidHealing) miscellaneousClicked(id, false);
    miscellaneousClicked(3248, false);
    EXPECT_EQ(ClassRecord.regeneration, 16);  // kept until a regeneration button is clicked

    const std::pair<int, std::uint8_t> codes[] = {{3089, 0}, {3254, 1}, {3257, 2}, {3260, 4}, {3261, 8}};
    for (const auto& [id, code] : codes) {
        ClassRecord.regeneration = 0xFF;
        miscellaneousClicked(id, false);
        EXPECT_EQ(ClassRecord.regeneration, code) << id;
        for (int other : kRegeneration) EXPECT_EQ(miscellaneousShown(ClassRecord, other), other == id);
    }
}

TEST_F(MiscellaneousRules, RapidHealingIsReadAsBitsAndWrittenWhole) {
    ClassRecord.rapidHealing = 8;  // a regeneration code, not a healing one
    for (int id : kRapidHealing) EXPECT_EQ(miscellaneousShown(ClassRecord, id), id == 3090) << id;

    ClassRecord.rapidHealing = 5;
    EXPECT_TRUE(miscellaneousShown(ClassRecord, 3255));
    EXPECT_TRUE(miscellaneousShown(ClassRecord, 3262));
    EXPECT_FALSE(miscellaneousShown(ClassRecord, 3258));
    EXPECT_FALSE(miscellaneousShown(ClassRecord, 3090));

    const std::pair<int, std::uint8_t> codes[] = {{3090, 0}, {3255, 1}, {3258, 2}, {3262, 4}};
    for (const auto& [id, code] : codes) {
        ClassRecord.rapidHealing = 0xFF;
        ClassRecord.regeneration = 0x42;
        miscellaneousClicked(id, false);
        EXPECT_EQ(ClassRecord.rapidHealing, code) << id;
        EXPECT_EQ(ClassRecord.regeneration, 0x42);
    }
}

TEST_F(MiscellaneousRules, TalentsInvertAndTwoClicksRestore) {
    for (int k = 0; k < 3; ++k) {
        ClassRecord.abilityFlags = 0xFFF8;
        miscellaneousClicked(3248 + k, false);
        EXPECT_EQ(ClassRecord.abilityFlags, 0xFFF8 | (1u << k)) << k;
        EXPECT_TRUE(miscellaneousShown(ClassRecord, 3248 + k));
        miscellaneousClicked(3248 + k, true);  // the box state is not read
        EXPECT_EQ(ClassRecord.abilityFlags, 0xFFF8) << k;
        EXPECT_FALSE(miscellaneousShown(ClassRecord, 3248 + k));
    }
}

TEST_F(MiscellaneousRules, DamageBoxesCopyTheirStateAfterTheClick) {
    const std::pair<int, std::uint16_t> boxes[] = {{3252, 0x0010}, {3253, 0x0020}};
    for (const auto& [id, bit] : boxes) {
        ClassRecord.abilityFlags = 0x0000;
        miscellaneousClicked(id, true);
        EXPECT_EQ(ClassRecord.abilityFlags, bit) << id;
        EXPECT_TRUE(miscellaneousShown(ClassRecord, id));
        miscellaneousClicked(id, true);  // copies, never inverts
        EXPECT_EQ(ClassRecord.abilityFlags, bit) << id;
        ClassRecord.abilityFlags = 0xFFFF;
        miscellaneousClicked(id, false);
        EXPECT_EQ(ClassRecord.abilityFlags, 0xFFFF & ~bit) << id;
        EXPECT_FALSE(miscellaneousShown(ClassRecord, id));
    }
    setDamageFlag(0xFFFF, false);  // only the damage bits answer to it
    EXPECT_EQ(ClassRecord.abilityFlags, 0xFFCF);
}

TEST_F(MiscellaneousRules, TalentsAndDamageLeaveTheMagickaBits) {
    ClassRecord.abilityFlags = 0xFFC8;  // bits 3 and 6-15
    for (int id : {3248, 3249, 3250}) miscellaneousClicked(id, false);
    miscellaneousClicked(3252, true);
    miscellaneousClicked(3253, true);
    EXPECT_EQ(ClassRecord.abilityFlags, 0xFFFF);
    for (int id : {3248, 3249, 3250}) miscellaneousClicked(id, false);
    miscellaneousClicked(3252, false);
    miscellaneousClicked(3253, false);
    EXPECT_EQ(ClassRecord.abilityFlags, 0xFFC8);
}

TEST_F(MiscellaneousRules, AZeroRecordShowsNoneAndNormalOnly) {
    const std::set<int> checked = {3089, 3090, 3091, 3092, 3093, 3094};
    for (int id : kMiscellaneousButtons) EXPECT_EQ(miscellaneousShown(ClassRecord, id), checked.count(id) == 1) << id;
}

TEST_F(MiscellaneousRules, ClickingWhatIsShownAgainChangesNoByte) {
    for (int id : kMiscellaneousButtons) {
        const bool isTalent = id >= 3248 && id <= 3250;
        if (!isTalent) miscellaneousClicked(id, true);
        const auto before = ClassRecord.toBytes();
        if (isTalent) {
            miscellaneousClicked(id, false);
            miscellaneousClicked(id, false);
        } else {
            miscellaneousClicked(id, true);
        }
        EXPECT_EQ(ClassRecord.toBytes(), before) << id;
    }
}

TEST_F(MiscellaneousRules, ButtonListIsTheFillOrderOfAllTwentySix) {
    std::set<int> expected = {3248, 3249, 3250, 3252, 3253, 3089, 3254, 3257, 3260, 3261, 3090, 3255, 3258, 3262};
    for (int e = 0; e < 4; ++e)
        for (int id : kind(e)) expected.insert(id);
    EXPECT_EQ(std::set<int>(kMiscellaneousButtons.begin(), kMiscellaneousButtons.end()), expected);
    EXPECT_EQ(kMiscellaneousButtons[3], 3257);  // regeneration starts with Only in Darkness
    EXPECT_EQ(kMiscellaneousButtons[25], 3094);
}

TEST_F(MiscellaneousRules, ForeignIdentifiersAreNotThisPagesButtons) {
    ClassRecord.abilityFlags = 0x1234;
    ClassRecord.bonusPhobiaFlags = 0x5A;
    ClassRecord.regeneration = 0x0F;
    const auto before = ClassRecord.toBytes();
    for (int id : {3251, 3256, 3259, 3263, 3264, 3273, 3095, 3088, 3243, 3186}) {
        EXPECT_FALSE(miscellaneousClicked(id, true)) << id;
        EXPECT_FALSE(miscellaneousShown(ClassRecord, id)) << id;
    }
    EXPECT_EQ(ClassRecord.toBytes(), before);
}
